#include "app/AboutDlg.h"

#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "widgets/WindowTexts.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace {

/// The picture's own size; the box shows it unscaled.
constexpr int kPictureWidth = 346;
constexpr int kPictureHeight = 241;

} // namespace

CAboutDlg::CAboutDlg(const CLanguageManager& language, QWidget* parent, bool simulated)
    : QDialog(parent), m_pPicture(new QSvgRenderer(QStringLiteral(":/icons/about.svg"), this)) {
    setProperty("ctrlId", IDD_ABOUTBOX);
    setFixedSize(kPictureWidth, kPictureHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    CWindowTexts::ApplyToWindow(this, language);
    setWindowTitle(QString::fromUtf8(language.GetText(IDD_ABOUTBOX).c_str()));
    m_strNotice = QString::fromUtf8(language.GetText(IDC_ABOUT_NOTICE).c_str());
    if (simulated) {
        // A label, not painted text, so that screen readers and tests can read it.
        auto* note = new QLabel(QString::fromUtf8(language.GetText(IDS_SIMULATED).c_str()), this);
        note->setObjectName(QStringLiteral("simulatedNote"));
        note->setAlignment(Qt::AlignCenter);
        note->setStyleSheet(QStringLiteral("color: #b03020; font-weight: bold;"));
        note->setGeometry(0, 12, width(), 20); // above the pictured instrument
    }
}

void CAboutDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_pPicture->render(&painter, QRectF(0, 0, width(), height()));
    if (!m_strNotice.isEmpty()) {
        QFont font = painter.font();
        font.setPointSizeF(8.5);
        painter.setFont(font);
        painter.setPen(QColor(0x34, 0x40, 0x4d));
        painter.drawText(QRect(0, height() - 36, width(), 24), Qt::AlignCenter,
                         m_strNotice + QStringLiteral("  ·  3.2.2.8"));
    }
}

void CAboutDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        accept();
    else
        QDialog::mouseReleaseEvent(event);
}
