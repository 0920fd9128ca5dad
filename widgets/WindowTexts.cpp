#include "widgets/WindowTexts.h"

#include "i18n/LanguageManager.h"
#include "widgets/MenuEx.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaProperty>

#include <vector>

namespace {

constexpr int kMaxMenuDepth = 4;

void SetCaption(QWidget* widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(text);
    else {
        const QMetaObject* meta = widget->metaObject();
        const int index = meta->indexOfProperty("text");
        if (index >= 0 && meta->property(index).isWritable())
            meta->property(index).write(widget, text);
    }
}

bool ControlText(const QObject* object, const CLanguageManager& language, QString& text) {
    bool ok = false;
    const int id = object->property("ctrlId").toInt(&ok);
    std::string found;
    if (!ok || !language.FindControlText(id, found))
        return false;
    text = QString::fromUtf8(found.c_str());
    return true;
}

void ApplyToActions(const QList<QAction*>& actions, std::vector<int>& path,
                    const CLanguageManager& language) {
    for (int i = 0; i < actions.size(); ++i) {
        QAction* action = actions[i];
        path.push_back(i);
        if (!action->isSeparator()) {
            std::string text;
            const int key = CLanguageManager::MenuKey(path);
            if (key >= 0 && language.FindText(std::to_string(key), text)) {
                // The menu bar's own items are plain; drop-down items are the owner-drawn ones.
                if (path.size() > 1)
                    CMenuEx::SetItemText(action, QString::fromUtf8(text.c_str()));
                else
                    action->setText(QString::fromUtf8(text.c_str()));
            }
            if (QMenu* sub = action->menu(); sub && int(path.size()) < kMaxMenuDepth)
                ApplyToActions(sub->actions(), path, language);
        }
        path.pop_back();
    }
}

} // namespace

void CWindowTexts::ApplyToWindow(QWidget* root, const CLanguageManager& language) {
    if (!root)
        return;
    // A dialog's caption is the exact text of its template id, empty when the language has
    // none: a leading-zero key that re-texts a control never names a dialog.
    bool isDialog = false;
    const int templateId = root->property("ctrlId").toInt(&isDialog);
    if (root->isWindow() && isDialog)
        root->setWindowTitle(QString::fromUtf8(language.GetText(templateId).c_str()));
    QString text;
    const QList<QWidget*> children = root->findChildren<QWidget*>();
    // Dialogs parented to the window are texted by their own ApplyToWindow.
    for (QWidget* child : children)
        if (child->window() == root->window() && ControlText(child, language, text))
            SetCaption(child, text);
}

void CWindowTexts::ApplyToMenu(QMenuBar* menuBar, const CLanguageManager& language) {
    if (!menuBar)
        return;
    std::vector<int> path;
    ApplyToActions(menuBar->actions(), path, language);
}

void CWindowTexts::ApplyToMenu(QMenu* menu, const int* positions, int depth,
                               const CLanguageManager& language) {
    if (!menu || depth < 1 || depth >= kMaxMenuDepth)
        return;
    std::vector<int> path(positions, positions + depth);
    ApplyToActions(menu->actions(), path, language);
}
