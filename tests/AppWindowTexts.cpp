// Re-texting windows by control id and menus by position key.
#include "i18n/LanguageManager.h"
#include "widgets/WindowTexts.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class AppWindowTexts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void controlsTakeTheTextOfTheirIdAndKeepTheirsWithoutOne();
    void menusAreTextedByPositionSeparatorsIncluded();

private:
    QTemporaryDir m_folder;
    CLanguageManager m_language;
};

void AppWindowTexts::initTestCase() {
    // One language file whose keys exercise the lookup rules.
    QDir(m_folder.path()).mkpath(QStringLiteral("language"));
    QFile file(m_folder.path() + QStringLiteral("/language/Test.lug"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[App]\n8888=Test\n0136=Leading zero\n1104=Sinus\n1104=Second\n1127=Gut\n"
               "1049=Gruppe\n142=Liste\n800=&Akte\n80002=Drei\n80100=Zwei-Null\n"
               "8010000=Tief\n");
    file.close();
    m_language.SetAppDir(m_folder.path().toStdString());
    m_language.RefreshLanguageFiles();
    m_language.SelectLanguage(0);
    QCOMPARE(m_language.GetCurrentLanguage(), 0);
}

void AppWindowTexts::controlsTakeTheTextOfTheirIdAndKeepTheirsWithoutOne() {
    QDialog window;
    window.setProperty("ctrlId", 142);
    auto* label = new QLabel(QStringLiteral("Sine"), &window);
    label->setProperty("ctrlId", 1104);
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    button->setProperty("ctrlId", 1127);
    auto* group = new QGroupBox(QStringLiteral("Functions"), &window);
    group->setProperty("ctrlId", 1049);
    auto* nested = new QLabel(QStringLiteral("Inside"), group);
    nested->setProperty("ctrlId", 1104);
    auto* untexted = new QLabel(QStringLiteral("Keep"), &window);
    untexted->setProperty("ctrlId", 1999);
    auto* plain = new QLabel(QStringLiteral("No id"), &window);
    auto* leadingZero = new QLabel(QStringLiteral("Square"), &window);
    leadingZero->setProperty("ctrlId", 136);
    auto* edit = new QLineEdit(QStringLiteral("12.5"), &window);
    edit->setProperty("ctrlId", 1999);
    // A dialog parented to the window is texted when it opens, not with its owner.
    auto* owned = new QDialog(&window);
    auto* ownedLabel = new QLabel(QStringLiteral("Owned"), owned);
    ownedLabel->setProperty("ctrlId", 1104);

    CWindowTexts::ApplyToWindow(&window, m_language);
    QCOMPARE(window.windowTitle(), QStringLiteral("Liste"));
    QCOMPARE(label->text(), QStringLiteral("Sinus"));
    QCOMPARE(button->text(), QStringLiteral("Gut"));
    QCOMPARE(group->title(), QStringLiteral("Gruppe"));
    QCOMPARE(nested->text(), QStringLiteral("Sinus"));
    QCOMPARE(untexted->text(), QStringLiteral("Keep"));
    QCOMPARE(plain->text(), QStringLiteral("No id"));
    QCOMPARE(edit->text(), QStringLiteral("12.5"));
    QCOMPARE(ownedLabel->text(), QStringLiteral("Owned"));
    QCOMPARE(leadingZero->text(), QStringLiteral("Leading zero"));

    // Captions look their template id up exactly: 0136 names no dialog 136.
    QDialog square;
    square.setWindowTitle(QStringLiteral("Square"));
    square.setProperty("ctrlId", 136);
    CWindowTexts::ApplyToWindow(&square, m_language);
    QCOMPARE(square.windowTitle(), QString());
}

void AppWindowTexts::menusAreTextedByPositionSeparatorsIncluded() {
    QMenuBar bar;
    QMenu* file = bar.addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("New"));
    QAction* separator = file->addSeparator();
    QAction* third = file->addAction(QStringLiteral("Third"));
    QMenu* edit = bar.addMenu(QStringLiteral("&Edit"));
    QMenu* sub = edit->addMenu(QStringLiteral("Sub"));
    QAction* deep = sub->addAction(QStringLiteral("Deep"));

    CWindowTexts::ApplyToMenu(&bar, m_language);
    QCOMPARE(bar.actions().value(0)->text(), QStringLiteral("&Akte"));
    QCOMPARE(file->actions().value(0)->text(), QStringLiteral("New")); // 80000 has no text
    QVERIFY(separator->isSeparator());
    QCOMPARE(third->text(), QStringLiteral("Drei"));
    QCOMPARE(bar.actions().value(1)->text(), QStringLiteral("&Edit"));
    QCOMPARE(sub->menuAction()->text(), QStringLiteral("Zwei-Null"));
    QCOMPARE(deep->text(), QStringLiteral("Tief"));
}

QTEST_MAIN(AppWindowTexts)
#include "AppWindowTexts.moc"
