#include "core/tools/CrcCalculator.h"

#include "core/support/Number64.h"
#include "core/support/TextConv.h"
#include "core/tools/CrcFormula.h"

namespace dualvex {

namespace {

std::uint64_t ReadNumber(const std::string& text)
{
    return ParseNumber64(text.c_str(), 0);
}

std::string WidthText(unsigned width)
{
    char text[16];
    PrintText(text, sizeof text, "%u-Bit", width);
    return text;
}

} // namespace

CrcCalculator::CrcCalculator()
{
    LoadTexts(nullptr, nullptr, nullptr);
    SetData(nullptr, 0);
    Update(kCrcChangeOther);
}

void CrcCalculator::SetData(const std::uint8_t* data, std::size_t length)
{
    m_data = data;
    m_length = data != nullptr ? length : 0;
    char text[48];
    PrintText(text, sizeof text, "%I64u / 0x%04I64X", static_cast<unsigned long long>(m_length),
              static_cast<unsigned long long>(m_length));
    m_fields.length = text;
}

void CrcCalculator::LoadTexts(const char* widthText, const char* polynomText, const char* startText)
{
    auto orDefault = [](const char* text, const char* fallback) {
        return std::string(text != nullptr && *text != '\0' ? text : fallback);
    };
    m_fields.width = orDefault(widthText, kCrcDefaultWidthText);
    m_fields.reflected = orDefault(polynomText, kCrcDefaultPolynomText);
    m_fields.start = orDefault(startText, kCrcDefaultStartText);
}

void CrcCalculator::SetParameters(unsigned width, std::uint64_t reflected, std::uint64_t start)
{
    width = ClampCrcWidth(width);
    m_fields.width = WidthText(width);
    char text[kCrcHexSize];
    FormatCrcHex(reflected, width, text, sizeof text);
    m_fields.reflected = text;
    FormatCrcHex(start, width, text, sizeof text);
    m_fields.start = text;
}

void CrcCalculator::Update(int change)
{
    ReadFields(change);
    KeepTexts(change);
    if (change != kCrcChangePreset) m_fields.preset = FindCrcPreset(m_width, m_reflected);
    WriteFields(change);
    RefreshSource(m_tables.Build(m_reflected, m_width));
    ComputeResults();
}

// Reads the parameters from the fields, lets the edited representation win and cuts
// everything to the width.
void CrcCalculator::ReadFields(int change)
{
    std::uint64_t width = ParseNumber(m_fields.width.c_str(), 0);
    m_start = ReadNumber(m_fields.start);
    m_reflected = ReadNumber(m_fields.reflected);
    m_normal = ReadNumber(m_fields.normal);
    m_width = ClampCrcWidth(width);
    if (change == kCrcChangeFormula) ApplyFormula();
    if (change == kCrcChangePreset && m_fields.preset > 0) {
        const CrcPreset& preset = GetCrcPreset(m_fields.preset);
        m_width = preset.width;
        m_reflected = preset.reflected;
    }
    const std::uint64_t mask = CrcMask(m_width);
    if (change == kCrcChangeNormal) {
        m_reflected = BitReverse(m_normal, m_width);
    } else {
        m_normal = BitReverse(m_reflected, m_width);
    }
    m_reflected &= mask;
    m_normal &= mask;
    m_start &= mask;
}

// An invalid formula leaves the polynomial as the other fields give it.
void CrcCalculator::ApplyFormula()
{
    const CrcFormula formula = ParseCrcFormula(m_fields.formula.c_str());
    m_fields.formulaInvalid = !formula.valid;
    if (!formula.valid) return;
    m_width = formula.degree;
    m_reflected = BitReverse(formula.bits, m_width);
}

std::uint64_t CrcCalculator::ReadHeld(const std::string& text) const
{
    return ReadNumber(text) & CrcMask(m_width);
}

void CrcCalculator::KeepTexts(int change)
{
    const bool keepsStart =
        change == kCrcChangeWidth || change == kCrcChangePreset || change == kCrcChangeFormula;
    if (keepsStart && m_startHeld) {
        m_start = ReadHeld(m_heldStart);
    } else if (keepsStart || change == kCrcChangeNormal) {
        m_heldStart = m_fields.start;
        m_startHeld = true;
    }
    switch (change) {
    case kCrcChangeWidth:
        if (m_polynomHeld) {
            m_reflected = ReadHeld(m_heldPolynom);
            m_normal = BitReverse(m_reflected, m_width);
        } else {
            m_heldPolynom = m_fields.reflected;
            m_polynomHeld = true;
        }
        break;
    case kCrcChangeReflected:
        m_heldPolynom = m_fields.reflected;
        m_polynomHeld = true;
        break;
    case kCrcChangeStart: m_startHeld = false; [[fallthrough]];
    // A polynomial given another way replaces the typed one for good.
    case kCrcChangeNormal:
    case kCrcChangeFormula:
    case kCrcChangePreset: m_polynomHeld = false; break;
    default: break;
    }
}

std::string CrcCalculator::Hex(std::uint64_t value) const
{
    char text[kCrcHexSize];
    FormatCrcHex(value, m_width, text, sizeof text);
    return text;
}

// Rewrites every representation except the one being edited.
void CrcCalculator::WriteFields(int change)
{
    if (change != kCrcChangeWidth) {
        m_fields.width = WidthText(m_width);
        m_fields.widthListIndex = -1;
        for (std::size_t i = 0; i < kCrcWidthList.size(); ++i) {
            if (m_fields.width == kCrcWidthList[i]) m_fields.widthListIndex = static_cast<int>(i);
        }
    }
    if (change != kCrcChangeReflected) m_fields.reflected = Hex(m_reflected);
    if (change != kCrcChangeNormal) m_fields.normal = Hex(m_normal);
    if (change != kCrcChangeFormula) {
        char formula[kCrcFormulaSize];
        WriteCrcFormula(m_reflected, m_width, formula, sizeof formula);
        m_fields.formula = formula;
        m_fields.formulaInvalid = false;
    }
    if (change != kCrcChangeStart) m_fields.start = Hex(m_start);
}

void CrcCalculator::RefreshSource(bool rebuilt)
{
    const CrcAlgorithm algorithm = m_fields.algorithm;
    if (algorithm == CrcAlgorithm::None) {
        m_fields.source.clear();
        m_sourceAlgorithm = algorithm;
        return;
    }
    if (!rebuilt && algorithm == m_sourceAlgorithm && m_start == m_sourceStart) return;
    const CrcTable* tables[] = {&m_tables.a, &m_tables.b, &m_tables.c};
    CrcSourceInput input;
    input.algorithm = algorithm;
    input.width = m_width;
    input.table = tables[static_cast<int>(algorithm) - 1];
    input.start = m_start;
    input.normal = m_normal;
    input.reflected = m_reflected;
    m_fields.source = GenerateCrcSource(input);
    m_sourceAlgorithm = algorithm;
    m_sourceStart = m_start;
}

void CrcCalculator::ComputeResults()
{
    if (m_resultsDeferred) {
        m_results = {};
        for (std::string& text : m_fields.results) text.clear();
        return;
    }
    SetResults(*ComputeCrcResults(m_tables, m_start, m_fields.invert, m_data, m_length));
}

void CrcCalculator::SetResults(const CrcResultValues& values)
{
    m_results = values;
    for (std::size_t i = 0; i < m_results.size(); ++i) m_fields.results[i] = Hex(m_results[i]);
}

} // namespace dualvex
