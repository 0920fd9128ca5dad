#pragma once

class CLanguageManager;
class QLineEdit;
class QString;
class QWidget;

/// Whole numbers typed into the dialogs' plain fields, and the warning for text that is none.
class CIntegerEntry {
public:
    enum Reading {
        READ_NUMBER,     ///< A whole number, possibly signed and between blanks.
        READ_UNFINISHED, ///< Empty, or a lone sign: a number still being typed.
        READ_REFUSED,    ///< Anything else.
    };
    /// Reads text; a number with more digits than fit reads as the far end of long long, which
    /// any clamp then treats like any other value out of range.
    static Reading Read(const QString& text, long long& value);
    /// Shows the language's text textId as a warning over parent.
    static void Warn(QWidget* parent, const CLanguageManager& language, int textId);
    /// Reads a count field that was left or entered: a number becomes value clamped to
    /// min..max and is shown so; other text shows value again and warns over parent, and
    /// false is returned.
    static bool ReadField(QWidget* parent, QLineEdit* field, int min, int max,
                          const CLanguageManager& language, int& value);
};
