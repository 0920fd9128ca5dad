#include "dialogs/PointsEditDlg.h"

#include "dialogs/IntegerEntry.h"
#include "engine/DDSDevice.h"
#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "widgets/NumEdit.h"
#include "widgets/WindowTexts.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr float kVoltLimit = 10.0f;
}

CPointsEditDlg::CPointsEditDlg(CDDSDevice& device, int startIndex,
                               std::function<void(int)> cursorUpdate,
                               const CLanguageManager& language, QWidget* parent)
    : QDialog(parent), m_device(device), m_language(language),
      m_cursorUpdate(std::move(cursorUpdate)), m_pIndex(new QLineEdit(this)),
      m_pVolt(new CNumEdit(this)), m_pPrevious(new QPushButton(QStringLiteral("Previous"), this)),
      m_pNext(new QPushButton(QStringLiteral("Next"), this)),
      m_pRefresh(new QPushButton(QStringLiteral("Refresh"), this)) {
    auto* indexLabel = new QLabel(QStringLiteral("Point Index:"), this);
    auto* includeLabel = new QLabel(QStringLiteral("(Include 0)"), this);
    auto* voltLabel = new QLabel(QStringLiteral("Vot:"), this);
    auto* unitLabel = new QLabel(QStringLiteral("V"), this);
    setProperty("ctrlId", IDD_POINTS_EDIT);
    indexLabel->setProperty("ctrlId", IDC_TXT_POINT_INDEX);
    includeLabel->setProperty("ctrlId", IDC_TXT_POINT_INCLUDE0);
    voltLabel->setProperty("ctrlId", IDC_TXT_POINT_VOLT);
    m_pIndex->setProperty("ctrlId", IDC_POINT_INDEX);
    m_pVolt->setProperty("ctrlId", IDC_POINT_VOLT);
    m_pPrevious->setProperty("ctrlId", IDC_POINT_PREVIOUS);
    m_pNext->setProperty("ctrlId", IDC_POINT_NEXT);
    m_pRefresh->setProperty("ctrlId", IDC_POINT_REFRESH);

    m_pVolt->m_fMin = -kVoltLimit;
    m_pVolt->m_fMax = kVoltLimit;
    m_pVolt->m_nDecimals = 3;
    m_pPrevious->setAutoDefault(false);
    m_pNext->setAutoDefault(false);
    // The hidden default button takes the Enter key.
    m_pRefresh->setDefault(true);
    m_pRefresh->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(indexLabel, 0, 0);
    layout->addWidget(m_pIndex, 0, 1);
    layout->addWidget(includeLabel, 0, 2);
    layout->addWidget(m_pPrevious, 0, 3);
    layout->addWidget(voltLabel, 1, 0);
    layout->addWidget(m_pVolt, 1, 1);
    layout->addWidget(unitLabel, 1, 2);
    layout->addWidget(m_pNext, 1, 3);

    CWindowTexts::ApplyToWindow(this, language);
    setWindowTitle(QString::fromUtf8(language.GetText(IDD_POINTS_EDIT).c_str()));

    connect(m_pIndex, &QLineEdit::textEdited, this, &CPointsEditDlg::OnIndexEdited);
    connect(m_pVolt, &QLineEdit::textChanged, this, &CPointsEditDlg::OnVoltChanged);
    connect(m_pRefresh, &QPushButton::clicked, this, &CPointsEditDlg::OnVoltChanged);
    connect(m_pPrevious, &QPushButton::clicked, this, &CPointsEditDlg::OnPrevious);
    connect(m_pNext, &QPushButton::clicked, this, &CPointsEditDlg::OnNext);

    m_nIndex = startIndex;
    ShowIndex();
    ShowVoltage();
    CursorUpdate();
}

void CPointsEditDlg::CursorUpdate() {
    if (m_cursorUpdate)
        m_cursorUpdate(m_nIndex);
}

int CPointsEditDlg::LastIndex() const {
    return std::clamp<int>(m_device.m_nPointsPerPeriod, 1, kMaxPoints) - 1;
}

float CPointsEditDlg::PointValue(int index) const {
    return m_device.m_fArb[std::clamp(index, 0, LastIndex())];
}

void CPointsEditDlg::ShowIndex() {
    m_pIndex->setText(QString::number(m_nIndex));
}

// Writing the text counts as a change of the field, which stores the shown value back.
void CPointsEditDlg::ShowVoltage() {
    m_pVolt->SetValue(PointValue(m_nIndex), true);
}

// A field left empty or holding a lone sign is a number being typed and changes nothing; other
// text that is no whole number is refused with a warning and the last good index shown again.
void CPointsEditDlg::OnIndexEdited() {
    long long typed = 0;
    switch (CIntegerEntry::Read(m_pIndex->text(), typed)) {
    case CIntegerEntry::READ_UNFINISHED:
        return;
    case CIntegerEntry::READ_REFUSED:
        CIntegerEntry::Warn(this, m_language, IDS_INTEGER_REQUIRED);
        ShowIndex();
        m_pIndex->selectAll();
        return;
    case CIntegerEntry::READ_NUMBER:
        break;
    }
    m_nIndex = static_cast<int>(std::clamp<long long>(typed, 0, LastIndex()));
    ShowVoltage();
    CursorUpdate();
    if (m_nIndex != typed || m_pIndex->text() != QString::number(typed))
        ShowIndex();
}

void CPointsEditDlg::OnVoltChanged() {
    m_pVolt->ParseText();
    long long typed = 0;
    if (CIntegerEntry::Read(m_pIndex->text(), typed) == CIntegerEntry::READ_NUMBER)
        m_nIndex = static_cast<int>(std::clamp<long long>(typed, 0, LastIndex()));
    else
        m_nIndex = std::clamp(m_nIndex, 0, LastIndex());
    m_device.m_fArb[m_nIndex] = m_pVolt->GetValue();
    CursorUpdate();
}

void CPointsEditDlg::OnPrevious() {
    if (m_nIndex > 0)
        --m_nIndex;
    CursorUpdate();
    ShowIndex();
    ShowVoltage();
}

void CPointsEditDlg::OnNext() {
    if (m_nIndex < LastIndex())
        ++m_nIndex;
    CursorUpdate();
    ShowIndex();
    ShowVoltage();
}

void CPointsEditDlg::keyPressEvent(QKeyEvent* event) {
    // Enter presses the focused button, or else the hidden Refresh; it never closes the dialog.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        auto* focusButton = qobject_cast<QPushButton*>(focusWidget());
        (focusButton != nullptr && focusButton->isVisible() ? focusButton : m_pRefresh)->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
