#include "dialogs/DeviceListDlg.h"

#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "widgets/WindowTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CDeviceListDlg::CDeviceListDlg(const std::vector<int>& offered, const CLanguageManager& language,
                               QWidget* parent, bool simulated)
    : QDialog(parent), m_pList(new QTreeWidget(this)), m_pOk(new QPushButton(tr("OK"), this)) {
    const std::size_t count = std::min<std::size_t>(offered.size(), kMaxDevices);
    m_offered.assign(offered.begin(), offered.begin() + count);

    setProperty("ctrlId", IDD_DEVICE_LIST);
    m_pList->setProperty("ctrlId", IDC_DEVICE_LIST);
    m_pOk->setProperty("ctrlId", IDC_DEVICE_LIST_OK);
    // OK is not the default button; Enter takes the selection itself (keyPressEvent).
    m_pOk->setAutoDefault(false);
    m_pOk->setDefault(false);

    m_pList->setColumnCount(simulated ? 2 : 1);
    m_pList->setRootIsDecorated(false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->header()->setStretchLastSection(true);
    m_pList->setHeaderLabels({QString::fromUtf8(language.GetText(IDS_DEVICE).c_str()), QString()});
    const QString mark =
        simulated ? QString::fromUtf8(language.GetText(IDS_SIMULATED).c_str()) : QString();
    for (int index : m_offered)
        new QTreeWidgetItem(m_pList, {QString::number(index + 1), mark});
    if (simulated)
        m_pList->resizeColumnToContents(0);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addLayout(buttons);
    resize(232, 300);

    CWindowTexts::ApplyToWindow(this, language);
    setWindowTitle(QString::fromUtf8(language.GetText(IDD_DEVICE_LIST).c_str()));

    connect(m_pOk, &QPushButton::clicked, this, &CDeviceListDlg::OnOk);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, &CDeviceListDlg::OnOk);
}

void CDeviceListDlg::keyPressEvent(QKeyEvent* event) {
    // The list passes Enter on once it has activated its row: it confirms that row.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        OnOk();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDeviceListDlg::OnOk() {
    if (m_offered.empty()) {
        reject();
        return;
    }
    int row = 0;
    for (int i = m_pList->topLevelItemCount() - 1; i >= 0; --i)
        if (m_pList->topLevelItem(i)->isSelected())
            row = i;
    m_nResult = m_offered[std::size_t(row)];
    accept();
}
