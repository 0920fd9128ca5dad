#pragma once
#include <QString>

class CLanguageManager;
class QWidget;

/// Names painted controls for screen readers in the current language, the control panel's
/// and the dialogs' alike: the language's text for the kind of control around the caption
/// that goes with it ("Frequency knob", "Sweep lamp").
class CAccessName {
public:
    /// kind: a "%s ..." text such as IDS_ACCESS_KNOB; 0 gives the caption alone.
    static QString Compose(int kind, const QString& caption, const CLanguageManager& language);
    /// Names control so; a switch or a lamp also gets the words a reader says for its two
    /// states.
    static void Apply(QWidget* control, int kind, const QString& caption,
                      const CLanguageManager& language);
    /// A label's text as a caption: without mnemonic marks and a closing colon.
    static QString Caption(const QString& labelText);
};
