#pragma once

#include <string>
#include <vector>

/// What a command's parameter may be.
enum class EScpiKind { Numeric, Boolean, Choice, String, Block, NumericList, Word };

/// One parameter of a command row: its kind, the unit a number may carry, the words a choice
/// may take, and whether it may be left out (only trailing parameters may).
struct CScpiParamDef {
    EScpiKind m_eKind = EScpiKind::Numeric;
    /// Base unit in capitals ("HZ", "V", "S"); empty: a number takes no suffix.
    std::string m_strUnit;
    /// Words with the short form in capitals ("SINusoid"); the index is what the handler gets.
    std::vector<std::string> m_vChoices;
    bool m_bOptional = false;
    /// String: a plain number is taken too, as its decimal text (a name or a number).
    bool m_bNumberAsText = false;
    /// Left out (absent, not an error) when the parameter written does not have its kind, so
    /// that one header may take a leading name or not (`DATA:ARB MYWAVE,1,2` and `DATA:ARB 1,2`).
    bool m_bLeading = false;
    /// NumericList: a single block is taken instead of the numbers.
    bool m_bBlockToo = false;

    /// A decimal number, or MINimum, MAXimum or DEFault.
    static CScpiParamDef Numeric(std::string unit = {}) {
        return {EScpiKind::Numeric, std::move(unit), {}, false};
    }
    static CScpiParamDef Boolean() { return {EScpiKind::Boolean, {}, {}, false}; }
    static CScpiParamDef Choice(std::vector<std::string> choices) {
        return {EScpiKind::Choice, {}, std::move(choices), false};
    }
    static CScpiParamDef String() { return {EScpiKind::String, {}, {}, false}; }
    static CScpiParamDef StringOrNumber() {
        CScpiParamDef def = String();
        def.m_bNumberAsText = true;
        return def;
    }
    static CScpiParamDef Block() { return {EScpiKind::Block, {}, {}, false}; }
    /// Every remaining parameter, each a number; at least one.
    static CScpiParamDef NumericList(std::string unit = {}) {
        return {EScpiKind::NumericList, std::move(unit), {}, false};
    }
    /// A name: a word of character data or a quoted string, in capitals.
    static CScpiParamDef Word() { return {EScpiKind::Word, {}, {}, false}; }
    static CScpiParamDef NumericListOrBlock(std::string unit = {}) {
        CScpiParamDef def = NumericList(std::move(unit));
        def.m_bBlockToo = true;
        return def;
    }
    CScpiParamDef Leading() const {
        CScpiParamDef def = *this;
        def.m_bLeading = true;
        return def;
    }
    CScpiParamDef Optional() const {
        CScpiParamDef def = *this;
        def.m_bOptional = true;
        return def;
    }
};
