#include "core/tools/CrcSourceGen.h"

#include <initializer_list>

namespace dualvex {

namespace {

std::string Hex(std::uint64_t value, unsigned width)
{
    char text[kCrcHexSize];
    FormatCrcHex(value, width, text, sizeof text);
    return text;
}

// Joins lines with CR LF, without a line end after the last one.
std::string Lines(std::initializer_list<std::string> lines)
{
    std::string text;
    bool first = true;
    for (const std::string& line : lines) {
        if (!first) text += "\r\n";
        text += line;
        first = false;
    }
    return text;
}

const char* TypeName(unsigned width)
{
    if (width <= 8) return "typedef unsigned char";
    if (width <= 16) return "typedef unsigned short";
    if (width <= 32) return "typedef unsigned int";
    return "typedef unsigned long long";
}

int ValuesPerLine(unsigned width)
{
    if (width <= 8) return 12;
    if (width <= 16) return 8;
    return width <= 32 ? 4 : 2;
}

std::string HeadAndTable(const CrcSourceInput& in)
{
    std::string text = TypeName(in.width);
    text += " CrcType;\r\n\r\nCrcType aCrcTable[256] =\r\n    {\r\n    ";
    const int perLine = ValuesPerLine(in.width);
    for (int i = 0; i < 256; ++i) {
        text += Hex((*in.table)[i], in.width);
        text += (i + 1) % perLine == 0 ? " , \r\n    " : " , ";
    }
    if (256 % perLine != 0) text += "\r\n    ";
    return text;
}

std::string CalcHead(const CrcSourceInput& in, bool withByte)
{
    std::string text = Lines({"};", "", "CrcType CrcCalc(const void *pMem,int iLen)", "{",
                              "unsigned char  *pPtr = (unsigned char*)pMem;"});
    if (withByte) text += "\r\nunsigned char   ucByte;";
    return text + "\r\nCrcType         uCrc = " + Hex(in.start, in.width) + ";\r\n\r\n    while(iLen>0)\r\n";
}

std::string TableHead(const std::string& polynomial, bool withXor)
{
    std::string text = Lines({"void CrcGenerateTable()", "{", "#define     POLYNOM " + polynomial,
                              "unsigned    uPos;", "unsigned    uOff;"});
    // The input byte walks up to the top of the register, so it needs the register's width.
    if (withXor) text += "\r\nCrcType     uXor;";
    return text + "\r\nCrcType     uVal;\r\n\r\n    for(uPos=0;uPos<256;uPos++)\r\n        {\r\n";
}

std::string BodyA(const CrcSourceInput& in)
{
    const char* step = in.width <= 8 ? "[uCrc^*pPtr]" : "[(uCrc^*pPtr)&0xFF] ^ (uCrc>>8)";
    return CalcHead(in, false) +
           Lines({"        {", std::string("        uCrc = aCrcTable") + step + ";", "        pPtr++;",
                  "        iLen--;", "        }", "", "return uCrc;", "}", "", ""}) +
           TableHead(Hex(in.reflected, in.width), false) +
           Lines({"        uVal = uPos;", "", "        for(uOff=0;uOff<8;uOff++)", "            {",
                  "            uVal = (uVal >> 1) ^ (POLYNOM & ~((uVal&1)-1));", "            }", "",
                  "        aCrcTable[uPos] = uVal;", "        }", "}"});
}

// The register moves left by one byte per step whatever its width, as in the
// calculator.
std::string BodyB(const CrcSourceInput& in)
{
    const unsigned s = CrcShift(in.width);
    const bool fullBytes = in.width == 8 || in.width == 16 || in.width == 32 || in.width == 64;
    const std::string maskText = fullBytes ? "" : Hex(CrcMask(in.width), in.width);
    const std::string maskLine = fullBytes ? "" : "\r\n        uCrc   &= " + maskText + ";";
    const std::string andSign = fullBytes ? "" : "&";
    const std::string rightShift = s == 0 ? "uCrc" : "(uCrc>>" + std::to_string(s) + ")";
    return CalcHead(in, true) +
           Lines({"        {" + maskLine, "        ucByte  = (unsigned char)(" + rightShift + "^*pPtr);",
                  "        uCrc    = aCrcTable[ucByte]^(uCrc<<8);", "        pPtr++;", "        iLen--;",
                  "        }", "", "return uCrc" + andSign + maskText + ";", "}", "", ""}) +
           TableHead(Hex(in.normal, in.width), true) +
           Lines({"        uVal = 0;", "        uXor = (CrcType)uPos<<" + std::to_string(s) + ";", "",
                  "        for(uOff=0;uOff<8;uOff++)", "            {",
                  "            if((uVal^uXor)&" + Hex(std::uint64_t{1} << (in.width - 1), in.width) + ")",
                  "                    uVal = (uVal<<1)^POLYNOM;", "            else    uVal = (uVal<<1);",
                  "", "            uXor <<= 1;", "            }", "",
                  "        aCrcTable[uPos] = uVal" + andSign + maskText + ";", "        }", "}"});
}

std::string BodyC(const CrcSourceInput& in)
{
    const std::uint64_t xBit = in.width < 64 ? std::uint64_t{1} << in.width : 0;
    const char* index = in.width <= 7 ? "(uCrc<<1)^*pPtr" : "((uCrc<<1)^*pPtr)&0xFF";
    return CalcHead(in, false) +
           Lines({"        {", std::string("        uCrc = aCrcTable[") + index + "];", "        pPtr++;",
                  "        iLen--;", "        }", "", "return uCrc;", "}", "", ""}) +
           TableHead(Hex(in.normal | xBit, in.width), false) +
           Lines({"        uVal = (uPos&" + Hex(xBit, in.width) + ")? uPos^POLYNOM:uPos;", "",
                  "        for(uOff=1;uOff<8;uOff++)", "            {",
                  "            if(uVal&" + Hex(std::uint64_t{1} << (in.width - 1), in.width) + ")",
                  "                {", "                uVal <<= 1;", "                uVal ^= POLYNOM;",
                  "                }", "            else{", "                uVal <<= 1;",
                  "                }", "            }", "", "        aCrcTable[uPos] = uVal;", "        }",
                  "}"});
}

} // namespace

std::string GenerateCrcSource(const CrcSourceInput& input)
{
    if (input.table == nullptr || input.algorithm == CrcAlgorithm::None) return {};
    CrcSourceInput in = input;
    in.width = ClampCrcWidth(in.width);
    std::string text = HeadAndTable(in);
    switch (in.algorithm) {
    case CrcAlgorithm::A: text += BodyA(in); break;
    case CrcAlgorithm::B: text += BodyB(in); break;
    default: text += BodyC(in); break;
    }
    if (text.size() > kCrcSourceLimit) text.resize(kCrcSourceLimit);
    return text;
}

} // namespace dualvex
