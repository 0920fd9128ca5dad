#include "widgets/StepEdit.h"

#include "widgets/NumberKeys.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cmath>

CStepEdit::CStepEdit(QWidget* parent) : QLineEdit(parent) {}

void CStepEdit::SetValue(float v) {
    switch (m_nKind) {
    case KIND_FREQUENCY:
        if (v < 1.0f)
            v = 1.0f;
        if (v > m_dMaxFrequency)
            v = static_cast<float>(m_dMaxFrequency);
        break;
    case KIND_AMPLITUDE:
        if (v < 0.0f)
            v = 0.0f;
        if (v > 3.5f)
            v = 3.5f;
        break;
    case KIND_OFFSET:
        if (v < -7.0f)
            v = -7.0f;
        if (v > 7.0f)
            v = 7.0f;
        break;
    case KIND_PHASE:
        if (v < 0.0f)
            v = 0.0f;
        if (v > 1.0f)
            v = 1.0f;
        break;
    default:
        break;
    }
    m_fValue = v;
}

void CStepEdit::SetStep(float step) {
    if (step == m_fStep)
        return;
    m_fStep = step;
    emit StepChanged();
}

float CStepEdit::EffectiveStep() const {
    return m_nKind == KIND_PHASE && std::fabs(m_fStep - 1.0f) < 0.00001f ? 0.1f : m_fStep;
}

double CStepEdit::Minimum() const {
    switch (m_nKind) {
    case KIND_FREQUENCY:
        return 1.0;
    case KIND_OFFSET:
        return -7.0;
    default:
        return 0.0;
    }
}

double CStepEdit::Maximum() const {
    switch (m_nKind) {
    case KIND_FREQUENCY:
        return m_dMaxFrequency;
    case KIND_AMPLITUDE:
        return 3.5;
    case KIND_OFFSET:
        return 7.0;
    default:
        return 1.0;
    }
}

void CStepEdit::ShowValue() {
    setText(QString::asprintf("%.3f", static_cast<double>(m_fValue)));
}

void CStepEdit::StepBy(int steps) {
    // A whole period is too coarse a phase step.
    SetStep(EffectiveStep());
    // Near the bottom of a frequency or amplitude the step shrinks, so the value can still be
    // set finely instead of jumping to the lower limit.
    if (m_nKind != KIND_OFFSET && m_nKind != KIND_PHASE) {
        if (static_cast<float>(steps) * m_fStep + m_fValue < m_fStep)
            SetStep(static_cast<float>(m_fStep * 0.1));
    }
    SetValue(static_cast<float>(steps) * m_fStep + m_fValue);
    ShowValue();
}

float CStepEdit::DigitWeight(const QString& text, int index) {
    const qsizetype point = text.lastIndexOf(u'.');
    double weight = 1.0;
    if (point >= 0) {
        if (index < point) {
            for (qsizetype i = 0; i < point - index - 1; ++i)
                weight *= 10.0f;
        } else if (index > point) {
            for (qsizetype i = 0; i < index - point; ++i)
                weight *= 0.1f;
        }
    } else {
        for (qsizetype i = 0; i < text.size() - index - 1; ++i)
            weight *= 10.0f;
    }
    return static_cast<float>(weight);
}

bool CStepEdit::event(QEvent* event) {
    // Without selected text Ctrl+C and Ctrl+Insert stay the window's keys (its Copy puts the
    // waveform picture on the clipboard); with a selection they copy it, as in any field.
    if (event->type() == QEvent::ShortcutOverride && !hasSelectedText()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ControlModifier &&
            (key->key() == Qt::Key_C || key->key() == Qt::Key_Insert)) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CStepEdit::focusInEvent(QFocusEvent* event) {
    // The field is the user's only while the user changes it: a record changed since (a setup
    // opened from a dialog that took the focus, a remote client) shows again.
    if (event->reason() != Qt::PopupFocusReason)
        setModified(false);
    QLineEdit::focusInEvent(event);
}

void CStepEdit::keyPressEvent(QKeyEvent* event) {
    if (HandleNumberClipboardKey(*this, event))
        return;
    if (IsNumberKey(event->key(), event->text()))
        QLineEdit::keyPressEvent(event);
    else
        event->accept();
}

int CStepEdit::CharacterAt(const QPoint& pos) {
    // cursorPositionAt gives the nearest gap between characters; the character is the one
    // on the side of that gap where the click landed.
    int index = cursorPositionAt(pos);
    const int saved = cursorPosition();
    setCursorPosition(index);
    const int gapX = cursorRect().center().x();
    setCursorPosition(saved);
    if (pos.x() < gapX && index > 0)
        --index;
    return index;
}

void CStepEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    const QString content = text();
    if (event->button() != Qt::LeftButton) {
        QLineEdit::mouseDoubleClickEvent(event);
        return;
    }
    // An empty field has no digit to weigh: the step stays as it is.
    if (content.isEmpty()) {
        event->accept();
        return;
    }
    int index = CharacterAt(event->position().toPoint());
    if (index >= content.size())
        index = static_cast<int>(content.size()) - 1;
    if (content.at(index) == u'.')
        ++index;
    setSelection(index, 1);
    SetStep(DigitWeight(content, selectionStart() >= 0 ? selectionStart() : index));
    event->accept();
}
