#include "dialogs/PinGrid.h"

#include "res/Resource.h"
#include "widgets/PinButton.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kPinsPerRow = 6;
}

void CPinGrid::Build(QDialog* dialog, int groupId, const QString& prefix, CPinButton** pins,
                     int count) {
    dialog->setFont(QFont(QStringLiteral("Arial"), 9));
    auto* group = new QGroupBox(dialog);
    group->setProperty("ctrlId", groupId);
    auto* grid = new QGridLayout(group);
    for (int k = 0; k < count; ++k) {
        const int row = 2 * (k / kPinsPerRow);
        auto* label = new QLabel(prefix + QString::number(k), group);
        label->setAlignment(Qt::AlignCenter);
        pins[k] = new CPinButton(group);
        pins[k]->setProperty("pinId", IDC_PIN_FIRST + k);
        grid->addWidget(label, row, k % kPinsPerRow);
        grid->addWidget(pins[k], row + 1, k % kPinsPerRow);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setProperty("ctrlId", IDC_DLG_OK);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::hide);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(group);
    layout->addWidget(ok, 0, Qt::AlignRight);
}
