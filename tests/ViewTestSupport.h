#pragma once
// The whole program on the test's QApplication, driving a simulated generator bank.
#include "AppTestSupport.h"

/// The program with `units` simulated generators and its main window shown at 1280 x 800.
class CViewHarness : public CProgram {
public:
    explicit CViewHarness(int units) : CProgram(units) {
        Frame()->resize(1280, 800);
        Frame()->show();
    }
    CMultiDDSTarnView* View(int i = 0) const {
        return static_cast<CMultiDDSTarnView*>(Doc(i)->m_pView);
    }
    CDDSDevice* Device(int i = 0) const { return Doc(i)->m_pDevice; }
    CMultiDDSTarnView* Open() {
        CMultiDDSTarnDoc* doc = CProgram::Open();
        return doc ? static_cast<CMultiDDSTarnView*>(doc->m_pView) : nullptr;
    }
};
