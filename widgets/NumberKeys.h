#pragma once
// The character filter of the numeric fields.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QString>
#include <Qt>

/// Whether a numeric field lets a key press through. Keys that type no character (arrows,
/// Home, Delete, Tab, Return, Escape) keep their editing and dialog roles; of the typed
/// characters only digits, ".", "-", "+" and backspace pass. Everything else, the control
/// characters a desktop types with Ctrl+C, Ctrl+V and Ctrl+X included, is dropped without a
/// sound.
inline bool IsNumberKey(int key, const QString& text) {
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        break;
    }
    // A letter key that types nothing is a shortcut (Ctrl+V where no control character is made).
    if (text.isEmpty())
        return key < Qt::Key_A || key > Qt::Key_Z;
    if (text.size() != 1)
        return false;
    const QChar c = text.front();
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'\b';
}

/// The characters of text that the filter lets through, in their order.
inline QString NumberCharacters(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if (IsNumberKey(0, QString(c)) && c != u'\b')
            kept += c;
    return kept;
}

/// The platform's clipboard and select-all keys in a numeric field. Copy, cut and select-all
/// work as in any field; pasted text passes the same filter as typed text (a number copied from
/// a spreadsheet arrives without its blanks and line end). True when the key was one of them.
inline bool HandleNumberClipboardKey(QLineEdit& field, QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        if (!field.isReadOnly())
            field.insert(NumberCharacters(QGuiApplication::clipboard()->text()));
        event->accept();
        return true;
    }
    if (event->matches(QKeySequence::Copy)) {
        field.copy();
    } else if (event->matches(QKeySequence::Cut)) {
        field.cut();
    } else if (event->matches(QKeySequence::SelectAll)) {
        field.selectAll();
    } else {
        return false;
    }
    event->accept();
    return true;
}
