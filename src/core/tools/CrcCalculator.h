// The CRC calculator as a state object over the texts of its dialog. The dialog puts
// the text of the field the user changed into Fields(), calls Update() with the kind of
// change and shows every text of Fields() again; it computes nothing itself. It must
// write the texts back with its change notifications blocked, otherwise its own writes
// would come back as user edits.
#pragma once

#include "core/tools/CrcEngine.h"
#include "core/tools/CrcResults.h"
#include "core/tools/CrcSourceGen.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace dualvex {

// What changed, the argument of Update().
enum CrcChange : int {
    kCrcChangeOther = -1, // focus left a field, invert toggled, algorithm chosen, opening
    kCrcChangePreset = 0,
    kCrcChangeWidth = 1,
    kCrcChangeReflected = 2,
    kCrcChangeNormal = 3,
    kCrcChangeFormula = 4,
    kCrcChangeStart = 5,
};

// Result fields in the order of CrcFields::results: algorithm A, B, C, each with the
// start value, with start 0 and with start all ones.
struct CrcResultField {
    int id;
    const char* label;
};
constexpr std::array<CrcResultField, 9> kCrcResultFields = {{
    {1075, "Ergebnis :"},
    {1077, "Ergebnis bei Start 0 :"},
    {1105, "Ergebnis bei Start ~0 :"},
    {1106, "Ergebnis Algorithmus B :"},
    {1107, "Ergebnis bei Start 0  Algo. B :"},
    {1057, "Ergebnis bei Start ~0  Algo. B :"},
    {1062, "Ergebnis Algorithmus C :"},
    {1063, "Ergebnis bei Start 0  Algo. C :"},
    {1056, "Ergebnis bei Start ~0  Algo. C :"},
}};

// Entries of the width list (control 1133).
constexpr std::array<const char*, 10> kCrcWidthList = {"4-Bit",  "5-Bit",  "7-Bit",  "8-Bit",  "12-Bit",
                                                       "15-Bit", "16-Bit", "24-Bit", "32-Bit", "64-Bit"};

// Settings of the calculator below the program's key, and their defaults.
constexpr const char* kCrcSettingsKey = "HexCrcCalc";
constexpr const char* kCrcStartValueName = "StartValue";
constexpr const char* kCrcPolynomSizeName = "PolynomSize";
constexpr const char* kCrcPolynomValueName = "PolynomValue";
constexpr const char* kCrcPolynomListName = "PolynomList";
constexpr const char* kCrcInversListName = "InversList";
constexpr const char* kCrcStartListName = "StartList";
constexpr const char* kCrcDefaultWidthText = "32-Bit";
constexpr const char* kCrcDefaultPolynomText = "0xEDB88320";
constexpr const char* kCrcDefaultStartText = "0xFFFFFFFF";

// The dialog's fields, with their control ids.
struct CrcFields {
    int preset = 0;                              // 1042 drop-down list, row of the preset
    std::string width;                           // 1133 combo text, e.g. "16-Bit"
    int widthListIndex = -1;                     // 1133 list entry equal to the text, -1 for none
    std::string reflected;                       // 1134 reflected polynomial
    std::string normal;                          // 1135 normal polynomial
    std::string formula;                         // 1055 polynomial as a formula
    bool formulaInvalid = false;                 // 1055 shown light red (255, 128, 128)
    std::string start;                           // 1136 start value
    bool invert = false;                         // 1043 "Ergebniss invertieren"
    CrcAlgorithm algorithm = CrcAlgorithm::None; // 1137 "Source :" list
    std::array<std::string, 9> results;          // see kCrcResultFields
    std::string length;                          // 1058 byte count "%u / 0x%04X"
    std::string source;                          // 1059 generated C source
};

class CrcCalculator {
  public:
    CrcCalculator();
    CrcCalculator(const CrcCalculator&) = delete;
    CrcCalculator& operator=(const CrcCalculator&) = delete;

    // Borrows the bytes to check (they must outlive the calculator) and writes the
    // byte count field.
    void SetData(const std::uint8_t* data, std::size_t length);
    // Field texts as stored in the settings; missing or empty texts take the defaults.
    void LoadTexts(const char* widthText, const char* polynomText, const char* startText);
    // Parameters handed in by a caller instead of the stored settings.
    void SetParameters(unsigned width, std::uint64_t reflected, std::uint64_t start);

    CrcFields& Fields() { return m_fields; }
    const CrcFields& Fields() const { return m_fields; }

    // Applies a change of the field named by change (a CrcChange) to every other field,
    // the preset list, the tables, the source text and the nine results.
    void Update(int change);

    unsigned Width() const { return m_width; }
    std::uint64_t Mask() const { return CrcMask(m_width); }
    std::uint64_t Reflected() const { return m_reflected; }
    std::uint64_t Normal() const { return m_normal; }
    std::uint64_t Start() const { return m_start; }
    // Result values in the order of kCrcResultFields, inversion applied.
    const CrcResultValues& Results() const { return m_results; }
    const CrcTables& Tables() const { return m_tables; }

    // Large data: Update() then leaves the nine results empty, and the caller computes
    // them with ComputeCrcResults (on a worker thread) over Data() and hands them in.
    void SetResultsDeferred(bool deferred) { m_resultsDeferred = deferred; }
    bool ResultsDeferred() const { return m_resultsDeferred; }
    void SetResults(const CrcResultValues& values);
    const std::uint8_t* Data() const { return m_data; }
    std::size_t Length() const { return m_length; }

  private:
    void ReadFields(int change);
    void ApplyFormula();
    void KeepTexts(int change);
    std::uint64_t ReadHeld(const std::string& text) const;
    void WriteFields(int change);
    void RefreshSource(bool rebuilt);
    void ComputeResults();
    std::string Hex(std::uint64_t value) const;

    CrcFields m_fields;
    const std::uint8_t* m_data = nullptr;
    std::size_t m_length = 0;
    unsigned m_width = kCrcDefaultWidth;
    std::uint64_t m_reflected = 0;
    std::uint64_t m_normal = 0;
    std::uint64_t m_start = 0;
    // Texts as they were when a series of width changes began, so typed digits that
    // a narrower width cut off come back when the width grows again.
    std::string m_heldPolynom;
    std::string m_heldStart;
    bool m_polynomHeld = false;
    bool m_startHeld = false;
    CrcTables m_tables;
    CrcAlgorithm m_sourceAlgorithm = CrcAlgorithm::None;
    std::uint64_t m_sourceStart = 0;
    CrcResultValues m_results{};
    bool m_resultsDeferred = false;
};

} // namespace dualvex
