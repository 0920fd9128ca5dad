#include "dialogs/ExponentDlg.h"

#include "control/DeviceControl.h"
#include "dialogs/DialogUnits.h"
#include "res/Resource.h"
#include "widgets/NumEdit.h"
#include "widgets/WindowTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include <cmath>

namespace {
constexpr int kTauDecimals = 8;
constexpr int kPictureWidth = 29;
constexpr int kPictureHeight = 19;
/// Time constants drawn across the picture.
constexpr double kPictureTaus = 4.0;
} // namespace

CExponentDlg::CExponentDlg(CDeviceControl& control, const CLanguageManager& language,
                           QWidget* parent)
    : QDialog(parent), m_control(control), m_pRise(new QCheckBox(QStringLiteral("Raise"), this)),
      m_pTau(new CNumEdit(this)), m_pPicture(new QLabel(this)) {
    auto* unitLabel = new QLabel(QStringLiteral("s"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    setProperty("ctrlId", IDD_EXPONENT);
    m_pRise->setProperty("ctrlId", IDC_EXP_RISE);
    m_pTau->setProperty("ctrlId", IDC_EXP_TAU);
    ok->setProperty("ctrlId", IDC_DLG_OK);
    cancel->setProperty("ctrlId", IDC_DLG_CANCEL);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    m_pPicture->setFixedSize(kPictureWidth, kPictureHeight);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pRise, 0, 0);
    layout->addWidget(m_pTau, 1, 0);
    layout->addWidget(unitLabel, 1, 1);
    layout->addWidget(m_pPicture, 1, 2);
    layout->addWidget(ok, 0, 3);
    layout->addWidget(cancel, 1, 3);
    layout->setColumnStretch(2, 1);

    CWindowTexts::ApplyToWindow(this, language);
    CDialogUnits::Apply(this, CDialogUnits::kWaveDialogPoints, QSize(187, 57));

    connect(m_pRise, &QCheckBox::clicked, this, &CExponentDlg::OnRiseClicked);
    connect(m_pTau, &QLineEdit::textChanged, this, &CExponentDlg::OnTauChanged);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_pTau->m_nDecimals = kTauDecimals;
    m_pRise->setChecked(m_control.GetExpFall() == 0);
    m_pTau->SetValue(m_control.GetExpTau(), true);
    m_pPicture->setPixmap(CurvePicture(m_pRise->isChecked(), devicePixelRatioF()));
}

QPixmap CExponentDlg::CurvePicture(bool rising, qreal ratio) {
    // Drawn at the screen's own pixels, so that a scaled screen shows it sharp.
    QPixmap picture(QSize(kPictureWidth, kPictureHeight) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::gray, 1.0));
    painter.drawRect(QRectF(0.5, 0.5, kPictureWidth - 1.0, kPictureHeight - 1.0));
    const QRectF area(2.5, 2.5, kPictureWidth - 5.0, kPictureHeight - 5.0);
    QPainterPath curve;
    for (int x = 0; x <= int(area.width()); ++x) {
        const double fall = std::exp(-kPictureTaus * x / area.width());
        const double level = rising ? 1.0 - fall : fall;
        const QPointF point(area.left() + x, area.bottom() - level * area.height());
        if (x == 0)
            curve.moveTo(point);
        else
            curve.lineTo(point);
    }
    painter.setPen(QPen(QColor(0, 0, 160), 1.4));
    painter.drawPath(curve);
    return picture;
}

void CExponentDlg::OnRiseClicked() {
    m_control.SetExpFall(m_pRise->isChecked() ? 0 : 1);
    m_pPicture->setPixmap(CurvePicture(m_pRise->isChecked(), devicePixelRatioF()));
}

void CExponentDlg::OnTauChanged() {
    m_pTau->ParseText();
    m_control.SetExpTau(m_pTau->GetValue());
}
