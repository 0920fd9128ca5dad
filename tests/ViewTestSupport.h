#pragma once
// The whole program on the test's QApplication, its main window shown at 1280 x 800.
#include "AppTestSupport.h"

struct CViewHarness : CProgram {
    explicit CViewHarness(int units) : CProgram(units) {
        Frame()->resize(1280, 800);
        Frame()->show();
    }
};
