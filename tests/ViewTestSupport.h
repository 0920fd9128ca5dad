#pragma once
// The whole program on the test's QApplication, its main window shown at 1280 x 800, and the
// panel controls the view and dialog tests drive.
#include "AppTestSupport.h"
#include "widgets/LED.h"
#include "widgets/SpinButton.h"
#include "widgets/TurnButton.h"

#include <algorithm>

struct CViewHarness : CProgram {
    explicit CViewHarness(int units) : CProgram(units) {
        Frame()->resize(1280, 800);
        Frame()->show();
    }
};
