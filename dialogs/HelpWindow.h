#pragma once
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

class CLanguageManager;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

/// Help > Help Content: the user manual (Markdown, pictures beside it) in a window of its own,
/// with a contents tree built from its headings and a search that wraps. Needs no web browser.
/// One window at a time; opening it again brings the open one to the front.
class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    /// The manual in the folder CProgramPaths picks (the program's "help", else the installed
    /// one), canonical; empty when it holds no manual.
    static QString FindManual(const QString& programFolder);
    /// Shows the manual at path in the one help window, which parent owns. A missing file
    /// opens nothing and says nothing; the result is then null.
    static CHelpWindow* Open(const QString& path, const CLanguageManager& language,
                             QWidget* parent);
    /// The open help window, null when there is none.
    static CHelpWindow* Instance() { return s_pInstance; }

    /// Takes the window's texts from the current language again.
    void Retext(const CLanguageManager& language);
    /// Selects the next match of the search field's text after the selection, going round to
    /// the top when the end is reached; the line beside the field says what happened.
    void FindNext();

    QTreeWidget* Contents() const { return m_pContents; }
    QTextBrowser* Browser() const { return m_pBrowser; }
    QLineEdit* SearchField() const { return m_pSearch; }
    QLabel* SearchResult() const { return m_pResult; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CHelpWindow(const CLanguageManager& language, QWidget* parent);
    void Load(const QString& path);
    void BuildContents();
    /// Widens the contents pane to its longest entry, up to half the window.
    void FitContentsPane();
    /// Puts the heading of a contents item at the top of the page.
    void ShowHeading(QTreeWidgetItem* item);
    /// Shrinks pictures wider than the page to its width, never enlarging them.
    void FitImages();
    QString Text(int id, const char* fallback) const;

    static QPointer<CHelpWindow> s_pInstance;

    const CLanguageManager* m_pLanguage;
    QTreeWidget* m_pContents;
    QTextBrowser* m_pBrowser;
    QLabel* m_pFindLabel;
    QLineEdit* m_pSearch;
    QPushButton* m_pFindNext;
    QLabel* m_pResult;
    /// The manual's pictures at their own size, by their name in the manual.
    QHash<QString, QImage> m_images;
};
