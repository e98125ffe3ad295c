#include "platform/HelpViewer.h"

#include "engine/UiLanguage.h"
#include "platform/WindowPlacement.h"
#include "engine/WriteCheck.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QPointer>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

namespace HelpViewer {
namespace {

QString g_appHelpFile;
QString g_lastError;
bool g_errorBox = false; // the last error goes to the error box, not a plain message
constexpr const char* kHelpContextProperty = "lexuvantHelpContext";

// Shows pages straight out of the help collection (qthelp:// addresses).
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), m_engine(engine)
    {
        // Links between help pages (qthelp://) stay in the viewer; any other
        // address goes to the desktop.
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
            if (url.scheme() == QLatin1String("qthelp"))
                setSource(url);
            else
                QDesktopServices::openUrl(url);
        });
    }

    QVariant loadResource(int type, const QUrl& url) override
    {
        if (url.scheme() == QLatin1String("qthelp"))
            return m_engine->fileData(url);
        return QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngine* m_engine;
};

class HelpWindow : public QWidget {
public:
    HelpWindow(const QString& sourceCollection, const QString& collection) : m_source(sourceCollection)
    {
        setWindowTitle(tr2(QStringLiteral("%1 Help"), QStringLiteral("%1-Hilfe")).arg(appTitle()));
        m_engine = new QHelpEngine(collection, this);
        m_engine->setUsesFilterEngine(true);
        m_ok = m_engine->setupData();
        if (!m_ok) {
            // The engine's own text is English; the reason is ours.
            const QString reason = QFileInfo(collection).isReadable()
                                       ? tr2(QStringLiteral("it is damaged or no help file"),
                                             QStringLiteral("sie ist beschädigt oder keine Hilfedatei"))
                                       : tr2(QStringLiteral("it cannot be read"), QStringLiteral("sie ist nicht lesbar"));
            m_error = tr2(QStringLiteral("The help file \"%1\" cannot be opened: %2."),
                          QStringLiteral("Die Hilfedatei \"%1\" kann nicht geöffnet werden: %2."))
                          .arg(QDir::toNativeSeparators(collection), reason);
            if (collection != sourceCollection)
                m_error += QLatin1Char(' ')
                           + tr2(QStringLiteral("It is the copy of \"%1\"; delete the folder \"%2\" to have it copied "
                                                "anew."),
                                 QStringLiteral("Sie ist die Kopie von \"%1\"; löschen Sie den Ordner \"%2\", damit sie "
                                                "neu kopiert wird."))
                                 .arg(QDir::toNativeSeparators(sourceCollection),
                                      QDir::toNativeSeparators(QFileInfo(collection).absolutePath()));
            return;
        }
        const QStringList docs = m_engine->registeredDocumentations();
        // The collection only refers to the documentation file; it must be there too.
        if (docs.isEmpty() || !QFileInfo::exists(m_engine->documentationFileName(docs.first()))) {
            m_ok = false;
            m_error = tr2(QStringLiteral("The help file \"%1\" contains no documentation."),
                          QStringLiteral("Die Hilfedatei \"%1\" enthält keine Dokumentation."))
                          .arg(sourceCollection);
            return;
        }
        m_namespace = docs.first();
        buildUi();
    }

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    QString source() const { return m_source; }
    QString pageTitle() const { return m_browser ? m_browser->documentTitle() : QString(); }

    bool showContents()
    {
        m_tabs->setCurrentIndex(0);
        return showUrl(contentsUrl());
    }

    bool showSearch()
    {
        m_tabs->setCurrentWidget(m_searchPage);
        // The full-text index is built on first use, in the background.
        if (!m_indexed) {
            m_engine->searchEngine()->scheduleIndexDocumentation();
            m_indexed = true;
        }
        if (m_browser->source().isEmpty())
            showUrl(contentsUrl());
        m_engine->searchEngine()->queryWidget()->setFocus();
        return true;
    }

    bool showContext(int id)
    {
        const QList<QHelpLink> links = m_engine->documentsForIdentifier(QString::number(id));
        if (links.isEmpty()) {
            m_error = tr2(QStringLiteral("The help file \"%2\" has no topic %1."),
                          QStringLiteral("Die Hilfedatei \"%2\" hat kein Hilfethema %1."))
                          .arg(id)
                          .arg(QDir::toNativeSeparators(m_source));
            return false;
        }
        return showUrl(links.first().url);
    }

private:
    QUrl contentsUrl() const { return QUrl(QStringLiteral("qthelp://%1/doc/index.html").arg(m_namespace)); }

    bool showUrl(const QUrl& url)
    {
        const QUrl found = m_engine->findFile(url);
        if (!found.isValid() || m_engine->fileData(found).isEmpty()) {
            m_error = tr2(QStringLiteral("The help file \"%2\" has no page \"%1\"."),
                          QStringLiteral("Die Hilfedatei \"%2\" hat keine Seite \"%1\"."))
                          .arg(url.toString(), QDir::toNativeSeparators(m_source));
            return false;
        }
        m_browser->setSource(found);
        return true;
    }

    void buildUi()
    {
        auto* layout = new QVBoxLayout(this);
        auto* splitter = new QSplitter(this);
        layout->addWidget(splitter);
        m_tabs = new QTabWidget(splitter);
        m_browser = new HelpBrowser(m_engine, splitter);
        splitter->setStretchFactor(1, 3);

        QHelpContentWidget* contents = m_engine->contentWidget();
        m_tabs->addTab(contents, tr2(QStringLiteral("Contents"), QStringLiteral("Inhalt")));
        // The tree marks the page shown, however it was opened (F1, a link,
        // the index); the contents are read in the background, so again once
        // they are there. One click on a title opens its page.
        auto markPage = [contents](const QUrl& url) {
            const QModelIndex index = contents->indexOf(url);
            if (index.isValid()) {
                contents->setCurrentIndex(index);
                contents->scrollTo(index);
            }
        };
        connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, contents, [this, contents, markPage] {
            contents->expandAll();
            markPage(m_browser->source());
        });
        // Emitted before source() gives the new page.
        connect(m_browser, &QTextBrowser::sourceChanged, contents, markPage);
        connect(contents, &QHelpContentWidget::linkActivated, m_browser,
                [this](const QUrl& url) { m_browser->setSource(url); });
        connect(contents, &QTreeView::clicked, m_browser, [this](const QModelIndex& index) {
            if (const QHelpContentItem* item = m_engine->contentModel()->contentItemAt(index))
                m_browser->setSource(item->url());
        });

        auto* indexPage = new QWidget;
        auto* indexLayout = new QVBoxLayout(indexPage);
        auto* filter = new QLineEdit(indexPage);
        QHelpIndexWidget* index = m_engine->indexWidget();
        indexLayout->addWidget(filter);
        indexLayout->addWidget(index);
        connect(filter, &QLineEdit::textChanged, index, [index](const QString& text) { index->filterIndices(text); });
        connect(filter, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
        connect(index, &QHelpIndexWidget::documentActivated, m_browser,
                [this](const QHelpLink& link, const QString&) { m_browser->setSource(link.url); });
        connect(index, &QHelpIndexWidget::documentsActivated, m_browser,
                [this](const QList<QHelpLink>& links, const QString&) {
                    if (!links.isEmpty())
                        m_browser->setSource(links.first().url);
                });
        m_tabs->addTab(indexPage, tr2(QStringLiteral("Index"), QStringLiteral("Index")));

        QHelpSearchEngine* search = m_engine->searchEngine();
        m_searchPage = new QWidget;
        auto* searchLayout = new QVBoxLayout(m_searchPage);
        searchLayout->addWidget(search->queryWidget());
        searchLayout->addWidget(search->resultWidget());
        connect(search->queryWidget(), &QHelpSearchQueryWidget::search, search,
                [search] { search->search(search->queryWidget()->searchInput()); });
        connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, m_browser,
                [this](const QUrl& url) { m_browser->setSource(url); });
        m_tabs->addTab(m_searchPage, tr2(QStringLiteral("Search"), QStringLiteral("Suchen")));

        splitter->setSizes({220, 600});
        resize(820, 580);
    }

    QString m_source;
    QHelpEngine* m_engine = nullptr;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_searchPage = nullptr;
    HelpBrowser* m_browser = nullptr;
    QString m_namespace;
    QString m_error;
    bool m_ok = false;
    bool m_indexed = false;
};

QPointer<HelpWindow> g_window;

// Do two files hold the same bytes? A copy damaged after it was made may
// still have the size and time of its original.
bool sameContent(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd())
        if (fa.read(1 << 16) != fb.read(1 << 16))
            return false;
    return true;
}

// The help engine keeps its search index and settings beside the collection;
// an installed, read-only collection is therefore used from a copy in the
// user's own cache folder, made again whenever it differs from the installed
// one. Returns an empty path, with error set, when no copy can be made.
QString writableCollection(const QString& collection, QString& error)
{
    const QFileInfo info(collection);
    if (QFileInfo(info.absolutePath()).isWritable())
        return collection;
    const QDir target(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help"));
    auto failed = [&](const QString& reason) {
        error = tr2(QStringLiteral("The help file \"%1\" cannot be copied to \"%2\": %3."),
                    QStringLiteral("Die Hilfedatei \"%1\" kann nicht nach \"%2\" kopiert werden: %3."))
                    .arg(QDir::toNativeSeparators(collection), QDir::toNativeSeparators(target.path()), reason);
        return QString();
    };
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(target.path()).toStdString(), ec);
    if (ec)
        return failed(WriteCheck::reasonFor(ec.value()));
    const QDir source = info.absoluteDir();
    const QStringList files = source.entryList({info.completeBaseName() + QStringLiteral(".q*")}, QDir::Files);
    for (const QString& name : files) {
        const QFileInfo from(source.filePath(name));
        const QString to = target.filePath(name);
        if (sameContent(from.filePath(), to))
            continue;
        if (!from.isReadable())
            return failed(tr2(QStringLiteral("\"%1\" cannot be read"), QStringLiteral("\"%1\" ist nicht lesbar"))
                              .arg(QDir::toNativeSeparators(from.filePath())));
        QFile::remove(to);
        if (!QFile::copy(from.filePath(), to)) {
            const QString why = WriteCheck::whyNotCreatable(to, from.size());
            return failed(!why.isEmpty() ? why
                                         : tr2(QStringLiteral("\"%1\" could not be written"),
                                               QStringLiteral("\"%1\" konnte nicht geschrieben werden"))
                                               .arg(QDir::toNativeSeparators(to)));
        }
        QFile copy(to);
        copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner);
        if (copy.open(QIODevice::ReadWrite)) {
            copy.setFileTime(from.lastModified(), QFileDevice::FileModificationTime);
            copy.close();
        }
    }
    return target.filePath(info.fileName());
}

HelpWindow* windowFor(const QString& collection)
{
    if (g_window && g_window->source() == collection)
        return g_window;
    delete g_window.data();
    // A help file that is there but cannot be used is an error of the system,
    // reported in the error box.
    g_errorBox = true;
    const QString usable = writableCollection(collection, g_lastError);
    if (usable.isEmpty())
        return nullptr;
    auto* window = new HelpWindow(collection, usable);
    if (!window->ok()) {
        g_lastError = window->error();
        delete window;
        return nullptr;
    }
    g_errorBox = false;
    g_window = window;
    WindowPlacement::centreOnScreen(*window);
    // The search indexer runs in a thread of the engine; end it with the program.
    static const bool cleanupRegistered = [] {
        qAddPostRoutine([] { delete g_window.data(); });
        return true;
    }();
    Q_UNUSED(cleanupRegistered);
    return window;
}

} // namespace

QString collectionFor(const QString& helpFile)
{
    const QFileInfo info(helpFile);
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("qhc"))
        return helpFile;
    if (suffix == QLatin1String("hlp"))
        return helpFile.left(helpFile.size() - 3) + QStringLiteral("qhc");
    return helpFile + QStringLiteral(".qhc");
}

bool WinHelp(QWidget* owner, const QString& helpFile, int command, int data)
{
    Q_UNUSED(owner);
    g_lastError.clear();
    g_errorBox = false;
    const QString collection = collectionFor(helpFile);
    if (helpFile.isEmpty() || !QFileInfo(collection).isFile()) {
        g_lastError = tr2(QStringLiteral("The help file \"%1\" could not be found."),
                          QStringLiteral("Die Hilfedatei \"%1\" wurde nicht gefunden."))
                          .arg(QDir::toNativeSeparators(collection));
        return false;
    }
    HelpWindow* window = windowFor(collection);
    if (!window)
        return false;
    bool shown = false;
    switch (command) {
    case HelpContents:
        shown = window->showContents();
        break;
    case HelpPartialKey:
        shown = window->showSearch();
        break;
    case HelpContext:
        shown = window->showContext(data);
        break;
    default:
        g_lastError =
            tr2(QStringLiteral("Unknown help command %1."), QStringLiteral("Unbekannter Hilfebefehl %1.")).arg(command);
        return false;
    }
    if (!shown) {
        g_lastError = window->error();
        return false;
    }
    // Called from a modal window (F1 in a dialog), the viewer must not be
    // blocked by it: it is then modal itself until closed.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality modality = modal && modal != window ? Qt::ApplicationModal : Qt::NonModal;
    if (window->windowModality() != modality) {
        window->hide();
        window->setWindowModality(modality);
    }
    WindowPlacement::bringToFront(*window);
    return true;
}

void setHelpContext(QWidget* widget, int contextId) { widget->setProperty(kHelpContextProperty, contextId); }

int contextForFocus(QWidget* window, int windowContext)
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !window->isAncestorOf(focus))
        return windowContext;
    for (QWidget* w = focus; w && w != window; w = w->parentWidget()) {
        const int id = w->property(kHelpContextProperty).toInt();
        if (id > 0)
            return id;
    }
    return windowContext;
}

QString appHelpFile() { return g_appHelpFile; }
void setAppHelpFile(const QString& path) { g_appHelpFile = path; }

QString noHelpFileMessage()
{
    return tr2(QStringLiteral("Help content could not be displayed. No help file assigned to this application."),
               QStringLiteral("Hilfeinhalt konnte nicht angezeigt werden. Dieser Anwendung ist keine "
                              "Hilfedatei zugeordnet."));
}

QString lastError() { return g_lastError; }

bool lastErrorIsUnusableFile() { return g_errorBox; }

QWidget* viewerWindow() { return g_window.data(); }
QString shownPageTitle() { return g_window ? g_window->pageTitle() : QString(); }

} // namespace HelpViewer
