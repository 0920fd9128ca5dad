#pragma once
// The character filter of the numeric fields.
#include <QString>
#include <Qt>

/// Whether a numeric field lets a key press through. Keys that type no character (arrows,
/// Home, Delete, Tab, Return, Escape) keep their editing and dialog roles; of the typed
/// characters only digits, ".", "-", "+" and backspace pass. Everything else, Ctrl+C, Ctrl+V
/// and Ctrl+X included, is dropped without a sound.
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
