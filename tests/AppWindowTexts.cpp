// Re-texting windows by control id and menus by position key.
#include "i18n/LanguageManager.h"
#include "widgets/WindowTexts.h"

#include <QtTest>
#include <QtWidgets>

namespace {

template <class T> T* Tagged(T* widget, int id) {
    widget->setProperty("ctrlId", id);
    return widget;
}

} // namespace

class AppWindowTexts : public QObject {
    Q_OBJECT

private slots:
    void windowsAreTextedByIdAndMenusByPosition() {
        // One language file whose keys exercise the lookup rules.
        QTemporaryDir folder;
        QDir(folder.path()).mkpath(QStringLiteral("language"));
        QFile file(folder.path() + QStringLiteral("/language/Test.lug"));
        QVERIFY(
            file.open(QIODevice::WriteOnly) &&
            file.write("[App]\n8888=Test\n0136=Leading zero\n1104=Sinus\n1104=Second\n1127=Gut\n"
                       "1049=Gruppe\n142=Liste\n800=&Akte\n80002=Drei\n80100=Zwei-Null\n"
                       "8010000=Tief\n") > 0);
        file.close();
        CLanguageManager language(folder.path().toStdString());
        language.RefreshLanguageFiles();
        language.SelectLanguage(0);

        // Controls take the text of their id and keep theirs without one.
        QDialog window;
        window.setProperty("ctrlId", 142);
        auto* label = Tagged(new QLabel("Sine", &window), 1104);
        auto* button = Tagged(new QPushButton("OK", &window), 1127);
        auto* group = Tagged(new QGroupBox("Functions", &window), 1049);
        auto* nested = Tagged(new QLabel("Inside", group), 1104);
        auto* untexted = Tagged(new QLabel("Keep", &window), 1999);
        auto* plain = new QLabel("No id", &window);
        auto* leadingZero = Tagged(new QLabel("Square", &window), 136);
        auto* edit = Tagged(new QLineEdit("12.5", &window), 1999);
        // A dialog parented to the window is texted when it opens, not with its owner.
        auto* owned = Tagged(new QLabel("Owned", new QDialog(&window)), 1104);
        CWindowTexts::ApplyToWindow(&window, language);
        QCOMPARE((QStringList{window.windowTitle(), label->text(), button->text(), group->title(),
                              nested->text(), untexted->text(), plain->text(), edit->text(),
                              owned->text(), leadingZero->text()}),
                 (QStringList{"Liste", "Sinus", "Gut", "Gruppe", "Sinus", "Keep", "No id", "12.5",
                              "Owned", "Leading zero"}));
        // Captions look their template id up exactly: 0136 names no dialog 136.
        QDialog square;
        Tagged(&square, 136)->setWindowTitle("Square");
        CWindowTexts::ApplyToWindow(&square, language);
        QCOMPARE(square.windowTitle(), QString());

        // Separators take a position; items without a text keep theirs.
        QMenuBar bar;
        QMenu* menu = bar.addMenu("&File");
        QAction* first = menu->addAction("New");
        menu->addSeparator();
        QAction* third = menu->addAction("Third");
        QMenu* sub = bar.addMenu("&Edit")->addMenu("Sub");
        QAction* deep = sub->addAction("Deep");
        CWindowTexts::ApplyToMenu(&bar, language);
        QCOMPARE((QStringList{menu->title(), first->text(), third->text(),
                              bar.actions().value(1)->text(), sub->title(), deep->text()}),
                 (QStringList{"&Akte", "New", "Drei", "&Edit", "Zwei-Null", "Tief"}));
    }
};

QTEST_MAIN(AppWindowTexts)
#include "AppWindowTexts.moc"
