#include "dialogs/HelpWindow.h"

#include "i18n/LanguageManager.h"
#include "i18n/ProgramPaths.h"
#include "res/Resource.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

QPointer<CHelpWindow> CHelpWindow::s_pInstance;

namespace {

constexpr int kPositionRole = Qt::UserRole;
/// Room for the branch marks and a little air right of the longest entry.
constexpr int kContentsSlack = 12;

} // namespace

QString CHelpWindow::FindManual(const QString& programFolder) {
    const QString path =
        QString::fromStdString(CProgramPaths(programFolder.toStdString()).ManualFile());
    return QFileInfo(path).isFile() ? QFileInfo(path).canonicalFilePath() : QString();
}

CHelpWindow* CHelpWindow::Open(const QString& path, const CLanguageManager& language,
                               QWidget* parent) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return nullptr;
    if (!s_pInstance)
        s_pInstance = new CHelpWindow(language, parent);
    CHelpWindow* window = s_pInstance;
    window->Load(path);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

CHelpWindow::CHelpWindow(const CLanguageManager& language, QWidget* parent)
    : QWidget(parent, Qt::Window), m_pLanguage(&language), m_pContents(new QTreeWidget),
      m_pBrowser(new QTextBrowser), m_pFindLabel(new QLabel), m_pSearch(new QLineEdit),
      m_pFindNext(new QPushButton), m_pResult(new QLabel) {
    setAttribute(Qt::WA_DeleteOnClose);
    m_pContents->setColumnCount(1);
    // An entry longer than the pane scrolls instead of losing its end.
    m_pContents->header()->setStretchLastSection(true);
    m_pContents->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_pContents->setTextElideMode(Qt::ElideNone);
    m_pBrowser->setOpenExternalLinks(true);
    m_pFindLabel->setBuddy(m_pSearch);
    m_pSearch->setClearButtonEnabled(true);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_pFindLabel);
    searchRow->addWidget(m_pSearch, 1);
    searchRow->addWidget(m_pFindNext);
    searchRow->addWidget(m_pResult, 1);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_pContents);
    splitter->addWidget(m_pBrowser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 760});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(splitter, 1);
    resize(1000, 700);

    connect(m_pSearch, &QLineEdit::returnPressed, this, &CHelpWindow::FindNext);
    connect(m_pFindNext, &QPushButton::clicked, this, &CHelpWindow::FindNext);
    connect(m_pContents, &QTreeWidget::itemClicked, this, &CHelpWindow::ShowHeading);
    connect(m_pContents, &QTreeWidget::itemActivated, this, &CHelpWindow::ShowHeading);
    connect(splitter, &QSplitter::splitterMoved, this, &CHelpWindow::FitImages);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        m_pSearch->setFocus();
        m_pSearch->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this,
            &CHelpWindow::FindNext);
    Retext(language);
}

void CHelpWindow::Retext(const CLanguageManager& language) {
    m_pLanguage = &language;
    setWindowTitle(Text(IDS_HELP_CAPTION, "DDS-Tarn USB Help"));
    m_pContents->setHeaderLabels({Text(IDS_HELP_CONTENTS, "Contents")});
    m_pFindLabel->setText(Text(IDS_HELP_FIND, "Find:"));
    m_pFindNext->setText(Text(IDS_HELP_FIND_NEXT, "Find Next"));
    m_pResult->clear();
}

QString CHelpWindow::Text(int id, const char* fallback) const {
    // A language file older than the help window leaves its texts English.
    const std::string text = m_pLanguage->GetText(id);
    return QString::fromUtf8(text.empty() ? fallback : text.c_str());
}

void CHelpWindow::Load(const QString& path) {
    m_images.clear();
    m_pBrowser->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
    // Fitting pictures edits the document; nobody should be able to undo that.
    m_pBrowser->document()->setUndoRedoEnabled(false);
    m_pResult->clear();
    BuildContents();
    FitContentsPane();
    FitImages();
}

void CHelpWindow::FitContentsPane() {
    auto* splitter = qobject_cast<QSplitter*>(m_pContents->parentWidget());
    if (!splitter)
        return;
    // As wide as the longest entry, up to half the window.
    m_pContents->resizeColumnToContents(0);
    const int entries = m_pContents->columnWidth(0) + 2 * m_pContents->frameWidth() +
                        m_pContents->verticalScrollBar()->sizeHint().width() + kContentsSlack;
    const int total = splitter->width() > 0 ? splitter->width() : width();
    const int pane = std::min(entries, total / 2);
    splitter->setSizes({pane, std::max(0, total - pane)});
}

void CHelpWindow::BuildContents() {
    m_pContents->clear();
    // The last item of each heading level: a deeper heading hangs below the nearest shallower.
    std::vector<std::pair<int, QTreeWidgetItem*>> parents;
    for (QTextBlock block = m_pBrowser->document()->begin(); block.isValid();
         block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level <= 0)
            continue;
        while (!parents.empty() && parents.back().first >= level)
            parents.pop_back();
        auto* item = parents.empty() ? new QTreeWidgetItem(m_pContents)
                                     : new QTreeWidgetItem(parents.back().second);
        item->setText(0, block.text());
        item->setToolTip(0, block.text());
        item->setData(0, kPositionRole, block.position());
        parents.emplace_back(level, item);
    }
    m_pContents->expandAll();
}

void CHelpWindow::ShowHeading(QTreeWidgetItem* item) {
    if (!item)
        return;
    QTextDocument* document = m_pBrowser->document();
    const QTextBlock block = document->findBlock(item->data(0, kPositionRole).toInt());
    if (!block.isValid())
        return;
    m_pBrowser->setTextCursor(QTextCursor(block));
    const QRectF area = document->documentLayout()->blockBoundingRect(block);
    m_pBrowser->verticalScrollBar()->setValue(int(area.top()));
}

void CHelpWindow::FindNext() {
    const QString text = m_pSearch->text();
    if (text.isEmpty()) {
        m_pResult->clear();
        return;
    }
    QTextDocument* document = m_pBrowser->document();
    QTextCursor found = document->find(text, m_pBrowser->textCursor());
    bool wrapped = false;
    if (found.isNull()) {
        found = document->find(text, 0);
        wrapped = !found.isNull();
    }
    if (found.isNull()) {
        m_pResult->setText(Text(IDS_HELP_NOT_FOUND, "Not found:") + QLatin1Char(' ') + text);
        return;
    }
    // A match off the page comes a third of the way down, with its paragraph above it.
    const bool visible = m_pBrowser->viewport()->rect().contains(m_pBrowser->cursorRect(found));
    m_pBrowser->setTextCursor(found);
    if (!visible) {
        QScrollBar* bar = m_pBrowser->verticalScrollBar();
        const int top = m_pBrowser->cursorRect(found).top();
        bar->setValue(bar->value() + top - m_pBrowser->viewport()->height() / 3);
    }
    m_pResult->setText(wrapped ? Text(IDS_HELP_WRAPPED, "Reached the end; continued from the top.")
                               : QString());
}

void CHelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitImages();
}

void CHelpWindow::FitImages() {
    QTextDocument* document = m_pBrowser->document();
    const qreal page = m_pBrowser->viewport()->width() - 2 * document->documentMargin() - 8;
    if (page <= 0)
        return;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (!format.isValid())
                continue;
            QImage& original = m_images[format.name()];
            if (original.isNull())
                original.load(m_pBrowser->source().resolved(QUrl(format.name())).toLocalFile());
            if (original.isNull())
                continue;
            const int width = std::min(original.width(), int(page));
            if (int(format.width()) == width)
                continue;
            // Scaled here, smoothly, because the page would draw a wide picture's text blocky.
            const QImage shown = width == original.width()
                                     ? original
                                     : original.scaledToWidth(width, Qt::SmoothTransformation);
            // The page looks pictures up by their name resolved against the manual's folder.
            document->addResource(QTextDocument::ImageResource,
                                  document->baseUrl().resolved(QUrl(format.name())), shown);
            format.setWidth(shown.width());
            format.setHeight(shown.height());
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}
