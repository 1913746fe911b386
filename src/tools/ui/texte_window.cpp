#include "tools/ui/texte_window.h"

#include "platform/ui/command_guard.h"
#include "platform/ui/glyph_painter.h"
#include "print/ui/qt_print_host.h"
#include "tools/ruler_geometry.h"
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
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace tarvik {

namespace {

// RTF's default tab stops: every half inch.
constexpr double TabStopPixels = 48;
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

LetterEdit::LetterEdit(QWidget* parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("RichEdit1"));
    setFrameShape(QFrame::NoFrame);
    setAcceptRichText(true);
    setTabStopDistance(TabStopPixels);
    document()->setDefaultFont(texte::defaultFont());
    applyTextMargins();
}

void LetterEdit::applyTextMargins()
{
    QTextFrame* root = document()->rootFrame();
    QTextFrameFormat f = root->frameFormat();
    if (f.leftMargin() == ruler::TextMargin && f.rightMargin() == ruler::TextMargin &&
        f.topMargin() == 4)
        return;
    const bool modified = document()->isModified();
    f.setLeftMargin(ruler::TextMargin);
    f.setRightMargin(ruler::TextMargin);
    f.setTopMargin(4);
    f.setBottomMargin(4);
    root->setFrameFormat(f);
    document()->setModified(modified);
}

void LetterEdit::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    applyTextMargins();
}

void LetterEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasHtml()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // Rich text from anywhere comes in with the attributes a letter holds, so
    // what is on screen is what a save writes.
    QTextDocument pasted;
    pasted.setHtml(source->html());
    rtf::Document letter = texte::letterOf(pasted);
    while (letter.paragraphs.size() > 1 && letter.paragraphs.last().runs.isEmpty())
        letter.paragraphs.removeLast();
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    texte::insert(cursor, letter);
    setTextCursor(cursor);
    ensureCursorVisible();
}

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

    auto guarded = [this](auto f) { return [this, f] { runGuarded(this, [this, f] { f(); }); }; };
    auto separator = [bar] { bar->addSpacing(8); };

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
    separator();
    b = addButton("SpeedButton4", QStringLiteral("Copier"), glyphs::drawn(Glyph::Copy));
    connect(b, &QToolButton::clicked, m_edit, &QTextEdit::copy);
    b = addButton("SpeedButton5", QStringLiteral("Coller"), glyphs::drawn(Glyph::Paste));
    connect(b, &QToolButton::clicked, m_edit, &QTextEdit::paste);
    separator();

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
    separator();

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
    separator();
    m_bullets = addButton("SpeedButton12", QStringLiteral("Puces"), glyphs::drawn(Glyph::Bullets));
    m_bullets->setCheckable(true);
    connect(m_bullets, &QToolButton::toggled, this, [this](bool on) { setBullets(on); });
    separator();

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

    bar->addStretch(1);
    m_close = new QPushButton(QStringLiteral("Fermer"), m_panel);
    m_close->setObjectName(QStringLiteral("Button1"));
    m_close->setAutoDefault(false);
    m_close->setFixedWidth(CloseWidth);
    connect(m_close, &QPushButton::clicked, this, &TTexte::reject);
    bar->addWidget(m_close);
    // Its left edge stays 90 pixels from the window's right edge.
    bar->addSpacing(CloseFromRight - CloseWidth);

    m_ruler->setTabStop(TabStopPixels);
    connect(m_ruler->firstMarker(), &RulerMarker::dropped, this,
            [this] { markerDropped(m_ruler->firstMarker()); });
    connect(m_ruler->leftMarker(), &RulerMarker::dropped, this,
            [this] { markerDropped(m_ruler->leftMarker()); });
    connect(m_ruler->rightMarker(), &RulerMarker::dropped, this,
            [this] { markerDropped(m_ruler->rightMarker()); });

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

    // An empty letter to start with, typed in the default font.
    m_edit->setCurrentCharFormat(texte::charFormat(rtf::Run{}));
    m_edit->document()->setModified(false);
    resize(900, 600);
    refresh();
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

// --- formatting, each ignored while the controls follow the selection

void TTexte::mergeFormat(const QTextCharFormat& format)
{
    // With a selection it is formatted; without one, the text typed next is.
    m_edit->mergeCurrentCharFormat(format);
    m_edit->setFocus();
}

void TTexte::setBold(bool on)
{
    if (m_updating)
        return;
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(f);
}

void TTexte::setItalic(bool on)
{
    if (m_updating)
        return;
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeFormat(f);
}

void TTexte::setUnderline(bool on)
{
    if (m_updating)
        return;
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeFormat(f);
}

void TTexte::setFontName(const QString& name)
{
    if (m_updating || name.trimmed().isEmpty())
        return;
    QTextCharFormat f;
    f.setFontFamilies(QStringList{name.trimmed()});
    mergeFormat(f);
}

void TTexte::setFontSize(int points)
{
    if (m_updating)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeFormat(f);
}

void TTexte::setAlignment(Qt::Alignment alignment)
{
    if (m_updating)
        return;
    m_edit->setAlignment(alignment);
    m_edit->setFocus();
    refresh();
}

void TTexte::setBullets(bool on)
{
    if (m_updating)
        return;
    QTextCursor cursor = m_edit->textCursor();
    cursor.beginEditBlock();
    if (on) {
        if (!cursor.currentList()) {
            QTextListFormat list;
            list.setStyle(QTextListFormat::ListDisc);
            list.setIndent(1);
            cursor.createList(list);
        }
    } else {
        // Every paragraph of the selection leaves its list.
        QTextDocument* doc = m_edit->document();
        QTextBlock block = doc->findBlock(cursor.selectionStart());
        const QTextBlock last = doc->findBlock(cursor.selectionEnd());
        while (block.isValid()) {
            if (QTextList* l = block.textList()) {
                l->remove(block);
                QTextCursor c(block);
                QTextBlockFormat f = block.blockFormat();
                f.setIndent(0);
                c.setBlockFormat(f);
            }
            if (block == last)
                break;
            block = block.next();
        }
    }
    cursor.endEditBlock();
    m_edit->setFocus();
    refresh();
}

void TTexte::markerDropped(QWidget* marker)
{
    QTextCursor cursor = m_edit->textCursor();
    texte::Indents indents = texte::indentsOf(cursor.blockFormat());
    const int width = m_ruler->width();
    const int leftMarker = m_ruler->leftMarker()->x();
    if (marker == m_ruler->firstMarker()) {
        indents.first = ruler::firstIndentAt(m_ruler->firstMarker()->x());
        indents.left = ruler::leftIndentAt(leftMarker, indents.first);
    } else if (marker == m_ruler->leftMarker()) {
        indents.left = ruler::leftIndentAt(leftMarker, indents.first);
    } else {
        indents.right = ruler::rightIndentAt(m_ruler->rightMarker()->x(), width);
    }
    // The indents go to every paragraph of the selection.
    QTextDocument* doc = m_edit->document();
    QTextBlock block = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    QTextCursor edit(doc);
    edit.beginEditBlock();
    while (block.isValid()) {
        QTextBlockFormat f = block.blockFormat();
        texte::setIndents(f, indents);
        edit.setPosition(block.position());
        edit.setBlockFormat(f);
        if (block == last)
            break;
        block = block.next();
    }
    edit.endEditBlock();
    refresh();
}

void TTexte::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    refresh();
}

void TTexte::refresh()
{
    if (m_updating)
        return;
    m_updating = true;
    // The flag comes down even if something below throws.
    struct Clear
    {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{m_updating};

    const QTextCursor cursor = m_edit->textCursor();
    const texte::Indents i = texte::indentsOf(cursor.blockFormat());
    m_ruler->place(i.first, i.left, i.right);

    const rtf::Run look = texte::lookOf(m_edit->currentCharFormat());
    m_bold->setChecked(look.bold);
    m_italic->setChecked(look.italic);
    m_underline->setChecked(look.underline);
    m_bullets->setChecked(cursor.currentList() != nullptr);
    m_fontSize->setValue(int(std::lround(look.size)));
    if (m_fontName->currentText() != look.font)
        m_fontName->setEditText(look.font);

    const Qt::Alignment a = cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        m_center->setChecked(true);
    else if (a & Qt::AlignRight)
        m_right->setChecked(true);
    else if (!(a & Qt::AlignJustify))
        m_left->setChecked(true);
    else {
        // Justified: none of the three buttons is down.
        for (QToolButton* t : {m_left, m_center, m_right})
            t->setAutoExclusive(false);
        for (QToolButton* t : {m_left, m_center, m_right})
            t->setChecked(false);
        for (QToolButton* t : {m_left, m_center, m_right})
            t->setAutoExclusive(true);
    }
}

} // namespace tarvik
