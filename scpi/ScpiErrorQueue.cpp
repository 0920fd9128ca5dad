#include "scpi/ScpiErrorQueue.h"

#include "scpi/ScpiText.h"

namespace {
struct ErrorText {
    int code;
    const char* text;
};

constexpr ErrorText kTexts[] = {
    {0, "No error"},
    {-100, "Command error"},
    {-101, "Invalid character"},
    {-102, "Syntax error"},
    {-103, "Invalid separator"},
    {-104, "Data type error"},
    {-108, "Parameter not allowed"},
    {-109, "Missing parameter"},
    {-112, "Program mnemonic too long"},
    {-113, "Undefined header"},
    {-114, "Header suffix out of range"},
    {-120, "Numeric data error"},
    {-121, "Invalid character in number"},
    {-123, "Exponent too large"},
    {-131, "Invalid suffix"},
    {-138, "Suffix not allowed"},
    {-141, "Invalid character data"},
    {-150, "String data error"},
    {-160, "Block data error"},
    {-200, "Execution error"},
    {-221, "Settings conflict"},
    {-222, "Data out of range"},
    {-223, "Too much data"},
    {-224, "Illegal parameter value"},
    {-250, "Mass storage error"},
    {-256, "File name not found"},
    {-257, "File name error"},
    {-300, "Device-specific error"},
    {-330, "Self-test failed"},
    {-350, "Queue overflow"},
    {-363, "Input buffer overrun"},
    {-400, "Query error"},
    {-410, "Query INTERRUPTED"},
    {-420, "Query UNTERMINATED"},
    {-430, "Query DEADLOCKED"},
};
} // namespace

const char* CScpiErrorQueue::Text(int code) {
    for (const ErrorText& entry : kTexts)
        if (entry.code == code)
            return entry.text;
    if (code <= -100 && code > -500)
        return Text(code / 100 * 100);
    return "Device-specific error";
}

void CScpiErrorQueue::Push(int code, std::string_view info) {
    if (m_entries.size() >= kCapacity) {
        m_entries.back() = "-350," + ScpiQuote(Text(-350));
        return;
    }
    std::string text = Text(code);
    if (!info.empty())
        text.append(";").append(info);
    m_entries.push_back(std::to_string(code) + "," + ScpiQuote(text));
}

std::string CScpiErrorQueue::Pop() {
    if (m_entries.empty())
        return "0,\"No error\"";
    std::string entry = std::move(m_entries.front());
    m_entries.pop_front();
    return entry;
}
