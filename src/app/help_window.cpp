#include "app/help_window.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

// The pages live in a static library: its resources must be registered by
// hand, or the linker may leave them out.
static void registerHelpResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)done;
}

namespace tarvik {

namespace {

const QString helpRoot = QStringLiteral(":/help/");
const QString startPage = QStringLiteral("index.html");
const QString helpOnHelpPage = QStringLiteral("aide.html");
constexpr int PageRole = Qt::UserRole;

QPointer<HelpWindow> g_window;

QString readResource(const QString& name)
{
    QFile f(helpRoot + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// Letters compared without accents or case, so that "societe" finds "Société".
QString folded(const QString& text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    }
    return out;
}

} // namespace

QList<QPair<QString, QString>> HelpWindow::keywords()
{
    // Each page names its keywords in <meta name="keywords" content="a; b#anchor; c">:
    // a keyword with an anchor leads to that place of the page.
    static const QRegularExpression meta(
        QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""));
    registerHelpResources();
    QList<QPair<QString, QString>> list;
    const QStringList pages = QDir(helpRoot).entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString& page : pages) {
        const auto match = meta.match(readResource(page));
        if (!match.hasMatch())
            continue;
        for (const QString& entry : match.captured(1).split(QLatin1Char(';'))) {
            const QString e = entry.trimmed();
            if (e.isEmpty())
                continue;
            const qsizetype hash = e.indexOf(QLatin1Char('#'));
            if (hash < 0)
                list.append({e, page});
            else
                list.append({e.left(hash).trimmed(), page + e.mid(hash)});
        }
    }
    std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        const QString fa = folded(a.first);
        const QString fb = folded(b.first);
        return fa != fb ? fa < fb : a.second < b.second;
    });
    return list;
}

HelpWindow* HelpWindow::instance()
{
    return g_window;
}

void HelpWindow::showHelp(View view, QWidget* parent)
{
    if (!g_window)
        g_window = new HelpWindow(parent);
    g_window->setView(view);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    registerHelpResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Aide de Tarvik"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 620);

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* back = new QPushButton(QStringLiteral("< Précédent"), this);
    back->setObjectName(QStringLiteral("backButton"));
    auto* forward = new QPushButton(QStringLiteral("Suivant >"), this);
    forward->setObjectName(QStringLiteral("forwardButton"));
    auto* home = new QPushButton(QStringLiteral("Sommaire"), this);
    home->setObjectName(QStringLiteral("homeButton"));
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addWidget(home);
    bar->addStretch();
    bar->addWidget(close);
    layout->addLayout(bar);

    auto* splitter = new QSplitter(this);
    m_tabs = new QTabWidget(splitter);
    m_tabs->setObjectName(QStringLiteral("helpTabs"));

    m_contents = new QTreeWidget(m_tabs);
    m_contents->setObjectName(QStringLiteral("contentsTree"));
    m_contents->setHeaderHidden(true);
    m_tabs->addTab(m_contents, QStringLiteral("Sommaire"));

    auto* searchPage = new QWidget(m_tabs);
    auto* searchLayout = new QVBoxLayout(searchPage);
    auto* prompt = new QLabel(QStringLiteral("Tapez le début du mot cherché :"), searchPage);
    m_keyword = new QLineEdit(searchPage);
    m_keyword->setObjectName(QStringLiteral("keywordEdit"));
    m_keyword->setClearButtonEnabled(true);
    prompt->setBuddy(m_keyword);
    m_keywordList = new QListWidget(searchPage);
    m_keywordList->setObjectName(QStringLiteral("keywordList"));
    auto* open = new QPushButton(QStringLiteral("Afficher"), searchPage);
    open->setObjectName(QStringLiteral("showButton"));
    searchLayout->addWidget(prompt);
    searchLayout->addWidget(m_keyword);
    searchLayout->addWidget(m_keywordList);
    searchLayout->addWidget(open);
    m_tabs->addTab(searchPage, QStringLiteral("Index"));

    m_browser = new QTextBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    layout->addWidget(splitter, 1);

    fillContents();
    fillKeywords();

    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(home, &QPushButton::clicked, this, [this] { setView(Contents); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showPage(item->data(0, PageRole).toString()); });
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showPage(item->data(0, PageRole).toString()); });
    connect(m_keyword, &QLineEdit::textChanged, this, &HelpWindow::filterKeywords);
    connect(m_keyword, &QLineEdit::returnPressed, this, &HelpWindow::openSelectedKeyword);
    connect(m_keywordList, &QListWidget::itemActivated, this, &HelpWindow::openSelectedKeyword);
    connect(m_keywordList, &QListWidget::itemClicked, this, &HelpWindow::openSelectedKeyword);
    connect(open, &QPushButton::clicked, this, &HelpWindow::openSelectedKeyword);
}

void HelpWindow::fillContents()
{
    // contents.txt: one entry a line, "title|page", a leading tab per level.
    QList<QTreeWidgetItem*> parents;
    const QStringList lines = readResource(QStringLiteral("contents.txt")).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        if (raw.trimmed().isEmpty())
            continue;
        int level = 0;
        while (level < raw.size() && raw[level] == QLatin1Char('\t'))
            ++level;
        const QStringList parts = raw.mid(level).split(QLatin1Char('|'));
        if (parts.size() != 2)
            continue;
        level = std::min<int>(level, parents.size());
        QTreeWidgetItem* item =
            level == 0 ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents[level - 1]);
        item->setText(0, parts[0].trimmed());
        item->setData(0, PageRole, parts[1].trimmed());
        parents.resize(level);
        parents.append(item);
    }
    m_contents->expandToDepth(0);
}

void HelpWindow::fillKeywords()
{
    // A keyword found on several pages is listed once per page, with the
    // page's title so that the entries can be told apart.
    static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"));
    const auto list = keywords();
    QHash<QString, int> uses;
    for (const auto& kw : list)
        ++uses[folded(kw.first)];
    for (const auto& [word, page] : list) {
        QString text = word;
        if (uses.value(folded(word)) > 1) {
            const auto match = title.match(readResource(page.section(QLatin1Char('#'), 0, 0)));
            if (match.hasMatch())
                text += QStringLiteral(" (%1)").arg(match.captured(1));
        }
        auto* item = new QListWidgetItem(text, m_keywordList);
        item->setData(PageRole, page);
    }
}

void HelpWindow::filterKeywords(const QString& text)
{
    // A partial key: every keyword holding the typed letters stays, and the
    // first one that begins with them is selected.
    const QString key = folded(text.trimmed());
    QListWidgetItem* first = nullptr;
    QListWidgetItem* firstPrefix = nullptr;
    for (int i = 0; i < m_keywordList->count(); ++i) {
        QListWidgetItem* item = m_keywordList->item(i);
        const QString word = folded(item->text());
        const bool shown = key.isEmpty() || word.contains(key);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
        if (shown && !firstPrefix && !key.isEmpty() && word.startsWith(key))
            firstPrefix = item;
    }
    QListWidgetItem* chosen = firstPrefix ? firstPrefix : (key.isEmpty() ? nullptr : first);
    m_keywordList->setCurrentItem(chosen);
    if (chosen)
        m_keywordList->scrollToItem(chosen);
}

void HelpWindow::openSelectedKeyword()
{
    QListWidgetItem* item = m_keywordList->currentItem();
    if (!item || item->isHidden())
        return;
    showPage(item->data(PageRole).toString());
}

void HelpWindow::setView(View view)
{
    switch (view) {
    case Contents:
        m_tabs->setCurrentIndex(0);
        showPage(startPage);
        m_contents->setFocus();
        break;
    case Search:
        m_tabs->setCurrentIndex(1);
        if (m_browser->source().isEmpty())
            showPage(startPage);
        m_keyword->clear();
        filterKeywords(QString());
        m_keyword->setFocus();
        break;
    case HelpOnHelp:
        showPage(helpOnHelpPage);
        break;
    }
}

void HelpWindow::showPage(const QString& page)
{
    if (page.isEmpty())
        return;
    m_browser->setSource(QUrl(QStringLiteral("qrc") + helpRoot + page));
}

QString HelpWindow::currentPage() const
{
    const QUrl source = m_browser->source();
    QString name = source.fileName();
    if (source.hasFragment())
        name += QLatin1Char('#') + source.fragment();
    return name;
}

} // namespace tarvik
