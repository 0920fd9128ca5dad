#pragma once
#include "engine/WaveParameterRules.h"

#include <QDialog>

class CDeviceControl;
class CLanguageManager;
class CNumEdit;

/// Live editor of the trapezium's rise, high and fall fractions, which together never exceed
/// one period. Every change is stored in the device at once and downloaded.
class CTrapeziaDlg : public QDialog {
    Q_OBJECT

public:
    CTrapeziaDlg(CDeviceControl& control, const CLanguageManager& language,
                 QWidget* parent = nullptr);

    CNumEdit* Field(CWaveParameterRules::TrapeziaPart part) const;

private:
    void OnPartChanged(CWaveParameterRules::TrapeziaPart part);

    CDeviceControl& m_control;
    CNumEdit* m_pRise;
    CNumEdit* m_pHigh;
    CNumEdit* m_pFall;
};
