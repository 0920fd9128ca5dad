#pragma once
// The whole program on the test's QApplication, driving a simulated generator bank.
#include "app/MainFrame.h"
#include "app/MultiDDSTarnApp.h"
#include "app/MultiDDSTarnDoc.h"
#include "engine/DDSDevice.h"
#include "hwsim/SimControl.h"
#include "view/MultiDDSTarnView.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <memory>

class CViewHarness {
public:
    /// Starts the program with `units` simulated generators; its first device window opens.
    explicit CViewHarness(int units) {
        SimReset(units);
        // With several free units the Device List dialog asks; take its first row.
        QObject::connect(&m_acceptor, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                if (auto* ok = modal->findChild<QPushButton*>())
                    ok->click();
        });
        m_acceptor.start(10);
        m_pApp = std::make_unique<CMultiDDSTarnApp>(
            [](CMultiDDSTarnDoc* doc) -> CDeviceView* { return new CMultiDDSTarnView(doc); });
        m_pApp->InitInstance();
        CMainFrame::Get()->resize(1280, 800);
        CMainFrame::Get()->show();
    }
    ~CViewHarness() { m_pApp.reset(); }

    CMultiDDSTarnView* View(int i = 0) const {
        return static_cast<CMultiDDSTarnView*>(CMainFrame::Get()->m_documents.at(i)->m_pView);
    }
    CDDSDevice* Device(int i = 0) const { return View(i)->GetDocument()->m_pDevice; }
    CMultiDDSTarnView* Open() {
        CMultiDDSTarnDoc* doc = m_pApp->OpenNewDocument();
        return doc ? static_cast<CMultiDDSTarnView*>(doc->m_pView) : nullptr;
    }

private:
    QTimer m_acceptor;
    std::unique_ptr<CMultiDDSTarnApp> m_pApp;
};
