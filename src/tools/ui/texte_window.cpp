#include "tools/ui/texte_window.h"

#include "platform/ui/command_guard.h"
#include "platform/ui/glyph_painter.h"
#include "print/ui/qt_print_host.h"
#include "tools/ui/letter_printing.h"
#include "tools/ui/texte_document.h"
#include "tools/ui/texte_ruler.h"

#include <QCollator>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik {

namespace {

constexpr double TabStopPixels = LetterEdit::TabStopPixels;
constexpr int Gap = 8; // between groups of buttons
constexpr int CloseFromRight = 90;
constexpr int CloseWidth = 75;

QStringList sortedFamilies()
{
    QStringList families = QFontDatabase::families();
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(families.begin(), families.end(), collator);
    return families;
}

} // namespace

TTexte::TTexte(const QStringList& companyLines, QWidget* parent, Prompter* prompter,
               print::PrintHost* printHost)
    : QDialog(parent), m_ownPrompter(this), m_prompter(prompter ? *prompter : m_ownPrompter),
      m_ownPrintHost(printHost ? nullptr : std::make_unique<print::QtPrintHost>(this)),
      m_printHost(printHost ? *printHost : *m_ownPrintHost),
      m_letters(m_prompter, *this, companyLines), m_panel(new QWidget(this)),
      m_ruler(new TexteRuler(this)), m_edit(new LetterEdit(this))
{
    setWindowTitle(QStringLiteral("Texte"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(false);

    m_panel->setObjectName(QStringLiteral("Panel1"));
    auto* bar = new QHBoxLayout(m_panel);
    bar->setContentsMargins(4, 3, 0, 3);
    bar->setSpacing(2);
    addFileButtons(bar);
    addStyleButtons(bar);
    addAlignmentButtons(bar);
    addFontControls(bar);
    addCloseButton(bar);
    connectRuler();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_panel);
    layout->addWidget(m_ruler);
    layout->addWidget(m_edit, 1);

    connect(m_edit, &QTextEdit::cursorPositionChanged, this, [this] { refresh(); });
    connect(m_edit, &QTextEdit::selectionChanged, this, [this] { refresh(); });
    connect(m_edit, &QTextEdit::textChanged, this, [this] { refresh(); });
    connect(m_edit, &QTextEdit::currentCharFormatChanged, this, [this] { refresh(); });

    m_chooseFont = [this](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Police"));
        if (!ok)
            return std::nullopt;
        return font;
    };

    m_chooseFont = [this](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Police"));
        if (!ok)
            return std::nullopt;
        return font;
    };

    // An empty letter to start with, typed in the default font.
    m_edit->setCurrentCharFormat(texte::charFormat(rtf::Run{}));
    m_edit->document()->setModified(false);
    resize(900, 600);
    refresh();
}

// A command of a button, run through the error boundary.
std::function<void()> TTexte::guarded(std::function<void()> command)
{
    return [this, command] { runGuarded(this, command); };
}

// New, open, save, print; copy and paste.
void TTexte::addFileButtons(QHBoxLayout* bar)
{
    QToolButton* b = addButton("SpeedButton1", QString(), glyphs::drawn(Glyph::NewFile));
    b->setToolTip(QStringLiteral("Nouvelle lettre"));
    connect(b, &QToolButton::clicked, this, guarded([this] { newLetter(); }));
    b = addButton("SpeedButton13", QString(), glyphs::drawn(Glyph::Open));
    b->setToolTip(QStringLiteral("Ouvrir"));
    connect(b, &QToolButton::clicked, this, guarded([this] { openLetter(); }));
    b = addButton("SpeedButton2", QStringLiteral("Enregistrer"), glyphs::drawn(Glyph::Save));
    connect(b, &QToolButton::clicked, this, guarded([this] { saveLetter(); }));
    b = addButton("SpeedButton3", QStringLiteral("Imprimer"), glyphs::drawn(Glyph::PrintRecord));
    connect(b, &QToolButton::clicked, this, guarded([this] { printLetter(); }));
    bar->addSpacing(Gap);
    b = addButton("SpeedButton4", QStringLiteral("Copier"), glyphs::drawn(Glyph::Copy));
    connect(b, &QToolButton::clicked, m_edit, &QTextEdit::copy);
    b = addButton("SpeedButton5", QStringLiteral("Coller"), glyphs::drawn(Glyph::Paste));
    connect(b, &QToolButton::clicked, m_edit, &QTextEdit::paste);
    bar->addSpacing(Gap);
}

// Bold, italic, underline: a letter in its own style each.
void TTexte::addStyleButtons(QHBoxLayout* bar)
{
    auto styleButton = [this](const char* name, const QString& hint, const QString& letter,
                              auto style) {
        QToolButton* t = addButton(name, hint, QIcon());
        t->setCheckable(true);
        t->setToolButtonStyle(Qt::ToolButtonTextOnly);
        t->setText(letter);
        QFont f(QStringLiteral("Times New Roman"));
        f.setPixelSize(16);
        style(f);
        t->setFont(f);
        return t;
    };
    m_bold = styleButton("SpeedButton6", QStringLiteral("Gras"), QStringLiteral("G"),
                         [](QFont& f) { f.setBold(true); });
    m_italic = styleButton("SpeedButton7", QStringLiteral("Italique"), QStringLiteral("I"),
                           [](QFont& f) { f.setItalic(true); });
    m_underline = styleButton("SpeedButton8", QStringLiteral("Souligné"), QStringLiteral("S"),
                              [](QFont& f) { f.setUnderline(true); });
    connect(m_bold, &QToolButton::toggled, this, [this](bool on) { setBold(on); });
    connect(m_italic, &QToolButton::toggled, this, [this](bool on) { setItalic(on); });
    connect(m_underline, &QToolButton::toggled, this, [this](bool on) { setUnderline(on); });
    bar->addSpacing(Gap);
}

void TTexte::addAlignmentButtons(QHBoxLayout* bar)
{
    m_left = addButton("SpeedButton9", QStringLiteral("Gauche"), glyphs::drawn(Glyph::AlignLeft));
    m_center =
        addButton("SpeedButton10", QStringLiteral("Centré"), glyphs::drawn(Glyph::AlignCenter));
    m_right =
        addButton("SpeedButton11", QStringLiteral("Droite"), glyphs::drawn(Glyph::AlignRight));
    for (QToolButton* t : {m_left, m_center, m_right}) {
        t->setCheckable(true);
        t->setAutoExclusive(true);
    }
    m_left->setChecked(true);
    connect(m_left, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignLeft); });
    connect(m_center, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignHCenter); });
    connect(m_right, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignRight); });
    bar->addSpacing(Gap);
    m_bullets = addButton("SpeedButton12", QStringLiteral("Puces"), glyphs::drawn(Glyph::Bullets));
    m_bullets->setCheckable(true);
    connect(m_bullets, &QToolButton::toggled, this, [this](bool on) { setBullets(on); });
    bar->addSpacing(Gap);
}

// The font dialog, the font name and its size.
void TTexte::addFontControls(QHBoxLayout* bar)
{
    QToolButton* b;
    b = addButton("SpeedButton18", QStringLiteral("Police"), glyphs::drawn(Glyph::Font));
    connect(b, &QToolButton::clicked, this, guarded([this] { chooseFont(); }));
    m_fontName = new QComboBox(m_panel);
    m_fontName->setObjectName(QStringLiteral("ComboBox1"));
    m_fontName->setToolTip(QStringLiteral("Police"));
    m_fontName->setEditable(true);
    m_fontName->setInsertPolicy(QComboBox::NoInsert);
    m_fontName->addItems(sortedFamilies());
    m_fontName->setEditText(QStringLiteral("Times New Roman"));
    m_fontName->setMinimumContentsLength(18);
    m_fontName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(m_fontName, &QComboBox::textActivated, this,
            [this](const QString& name) { setFontName(name); });
    bar->addWidget(m_fontName);
    m_fontSize = new QSpinBox(m_panel);
    m_fontSize->setObjectName(QStringLiteral("SpinEdit1"));
    m_fontSize->setToolTip(QStringLiteral("Taille"));
    m_fontSize->setRange(4, 72);
    m_fontSize->setValue(10);
    connect(m_fontSize, &QSpinBox::valueChanged, this, [this](int v) { setFontSize(v); });
    bar->addWidget(m_fontSize);
}

void TTexte::addCloseButton(QHBoxLayout* bar)
{
    bar->addStretch(1);
    m_close = new QPushButton(QStringLiteral("Fermer"), m_panel);
    m_close->setObjectName(QStringLiteral("Button1"));
    m_close->setAutoDefault(false);
    m_close->setFixedWidth(CloseWidth);
    connect(m_close, &QPushButton::clicked, this, &TTexte::reject);
    bar->addWidget(m_close);
    // Its left edge stays 90 pixels from the window's right edge.
    bar->addSpacing(CloseFromRight - CloseWidth);
}

// A marker dropped on the ruler sets the indents of the selected paragraphs.
void TTexte::connectRuler()
{
    m_ruler->setTabStop(TabStopPixels);
    connect(m_ruler->firstMarker(), &RulerMarker::dropped, this,
            [this] { markerDropped(m_ruler->firstMarker()); });
    connect(m_ruler->leftMarker(), &RulerMarker::dropped, this,
            [this] { markerDropped(m_ruler->leftMarker()); });
    connect(m_ruler->rightMarker(), &RulerMarker::dropped, this,
            [this] { markerDropped(m_ruler->rightMarker()); });
}

void TTexte::run(const QStringList& companyLines, QWidget* parent, Prompter* prompter,
                 print::PrintHost* printHost)
{
    TTexte window(companyLines, parent, prompter, printHost);
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
}

QToolButton* TTexte::addButton(const char* name, const QString& hint, const QIcon& icon)
{
    auto* b = new QToolButton(m_panel);
    b->setObjectName(QLatin1String(name));
    b->setIcon(icon);
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(28, 28);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    m_panel->layout()->addWidget(b);
    return b;
}

// --- the letter for the file commands

rtf::Document TTexte::letter() const
{
    return texte::letterOf(*m_edit->document());
}

void TTexte::showLetter(const rtf::Document& letter)
{
    WaitCursor wait;
    QTextDocument* doc = m_edit->document();
    texte::fill(*doc, letter);
    m_edit->applyTextMargins();
    doc->clearUndoRedoStacks();
    doc->setModified(false);
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    m_edit->setTextCursor(end);
    refresh();
}

bool TTexte::isModified() const
{
    return m_edit->document()->isModified();
}

void TTexte::setModified(bool modified)
{
    m_edit->document()->setModified(modified);
}

// --- commands

void TTexte::newLetter()
{
    m_letters.newLetter();
    m_edit->setFocus();
}

void TTexte::openLetter()
{
    m_letters.open();
    m_edit->setFocus();
}

void TTexte::saveLetter()
{
    m_letters.save();
}

void TTexte::reject()
{
    if (m_letters.mayClose())
        QDialog::reject();
}

void TTexte::keyPressEvent(QKeyEvent* event)
{
    // Escape belongs to the letter being typed, not to closing the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TTexte::drawLetter(print::PrintDevice& device)
{
    WaitCursor wait;
    device.setTitle(QString());
    letterprint::print(letter(), device);
}

void TTexte::printLetter()
{
    if (!m_printHost.askPrinter())
        return;
    m_printHost.print(QString(), [this](print::PrintDevice& device) { drawLetter(device); });
}

void TTexte::chooseFont()
{
    const QTextCharFormat current = m_edit->currentCharFormat();
    const rtf::Run look = texte::lookOf(current);
    QFont initial(look.font);
    initial.setPointSizeF(look.size);
    initial.setBold(look.bold);
    initial.setItalic(look.italic);
    initial.setUnderline(look.underline);
    const std::optional<QFont> chosen = m_chooseFont(initial);
    if (!chosen)
        return;
    rtf::Run applied;
    applied.font = chosen->family();
    applied.size = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : look.size;
    applied.bold = chosen->bold();
    applied.italic = chosen->italic();
    applied.underline = chosen->underline();
    mergeFormat(texte::charFormat(applied));
}

} // namespace tarvik
