#include "toolkit/TxMsgDlg.h"

#include "render/PanelCanvas.h"
#include "platform/PlatformDialogs.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFrame>
#include <QInputDialog>
#include <QLineEdit>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <memory>

namespace gf {

namespace {

const QColor kFrame(0, 128, 64);
const QColor kLight(215, 251, 240);
const QColor kBody(82, 191, 160);
constexpr int kEdge = 2;        // green frame around the box
constexpr int kTextMargin = 14; // keeps wrapped text off the box's edges

MessageHook& hookSlot()
{
    static MessageHook hook;
    return hook;
}

QSize screenSize()
{
    if (const QScreen* s = QGuiApplication::primaryScreen())
        return s->size();
    return {800, 600};
}

// Control characters other than tab have no glyph worth showing.
QString displayText(const QString& line)
{
    QString out;
    out.reserve(line.size());
    for (QChar c : line)
        if (c.unicode() >= 0x20 || c == u'\t')
            out.append(c);
    return out;
}

} // namespace

// A plain coloured panel that draws the box's green frame along its outer edges.
class MsgPanel : public QFrame
{
public:
    MsgPanel(QWidget* parent, bool atTop) : QFrame(parent), m_top(atTop) {}
    QString text;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        if (!text.isEmpty()) {
            p.setFont(font());
            p.setPen(palette().color(QPalette::WindowText));
            drawWatchedText(p, rect().adjusted(kEdge + 4, 0, -kEdge, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       text);
        }
        p.fillRect(0, 0, kEdge, height(), kFrame);
        p.fillRect(width() - kEdge, 0, kEdge, height(), kFrame);
        p.fillRect(0, m_top ? 0 : height() - kEdge, width(), kEdge, kFrame);
        // a fine line between heading or buttons and the text
        p.fillRect(0, m_top ? height() - 1 : 0, width(), 1, kFrame.lighter(130));
    }

private:
    bool m_top;
};

namespace msgbox {

QStringList splitLines(const QString& text)
{
    QStringList lines;
    QString line;
    const qsizetype n = std::min<qsizetype>(text.size(), MaxChars);
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\n') {
            if (i + 1 < n && text[i + 1] == u'\r') {
                lines.append(line);
                line.clear();
                ++i;
            }
            continue; // a lone line feed is dropped
        }
        line.append(c);
    }
    lines.append(line);
    return lines;
}

QString heading(int kind)
{
    switch (kind) {
    case mkAchtung:
        return QStringLiteral("  Achtung:");
    case mkFehlermeldung:
        return QStringLiteral("  Fehlermeldung: ");
    case mkHinweis:
        return QStringLiteral("  Hinweis:");
    case mkBitteBestaetigen:
        return QStringLiteral("  Bitte bestätigen Sie: ");
    default:
        return {};
    }
}

QList<int> visibleButtons(int buttons)
{
    // table order: Ja, Nein, OK, Abbrechen, Hilfe, Abbruch, Wiederholen, Ignorieren
    static const int bits[ButtonCount] = {btn::Yes,  btn::No,    btn::OK,    btn::Cancel,
                                          btn::Help, btn::Abort, btn::Retry, btn::Ignore};
    QList<int> out;
    for (int i = 0; i < ButtonCount; ++i)
        if ((buttons & btn::All) || (buttons & bits[i]))
            out.append(i);
    if (out.isEmpty())
        out.append(2);
    return out;
}

Geometry layout(int widestLine, int lineHeight, int lineCount, int n, QSize screen)
{
    n = std::max(n, 1);
    int width = DesignWidth;
    int height = (lineHeight + 3) * lineCount + 200;
    if (widestLine > 0)
        width = std::max(widestLine, n * 132) + 250;
    if (n * 132 > width - 10)
        width = n * 130;

    Geometry g;
    int left = (screen.width() - width) / 2;
    int top = (screen.height() - height) / 2;
    if (width >= screen.width()) {
        left = 0;
        width = screen.width();
    }
    if (height >= screen.height()) {
        top = 0;
        height = screen.height();
    }
    g.window = QRect(left, top, width, height);

    const int slot = (width - 60) / n;
    int b = std::clamp(slot / 2, 130, 200);
    // Where the slots are narrower than a button (many buttons on a narrow box or
    // screen) the buttons shrink to their slot instead of covering each other.
    if (b > slot)
        b = std::max(slot - 4, 1);
    const int gap = (slot - b) / 2;
    g.buttonWidth = b;
    for (int k = 0; k < n; ++k)
        g.buttonLefts.append((2 * gap + b) * k + 30 + gap);
    return g;
}

} // namespace msgbox

TxMsgDlg::TxMsgDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QString());
    look::setBackground(this, kFrame);

    auto* top = new MsgPanel(this, true);
    pn_top = top;
    look::setBackground(pn_top, kLight);
    look::setTextColour(pn_top, Qt::black);
    const double t = look::textScale();
    pn_top->setFont(look::comic(qRound(24 * t), true));

    Memo = new QTextEdit(this);
    Memo->setReadOnly(true);
    Memo->setFrameShape(QFrame::NoFrame);
    Memo->setFocusPolicy(Qt::NoFocus);
    Memo->setTextInteractionFlags(Qt::NoTextInteraction);
    Memo->setFont(look::comic(qRound(21 * t), true));
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo->viewport()->setCursor(Qt::ArrowCursor);
    QPalette pal = Memo->palette();
    pal.setColor(QPalette::Base, kBody);
    // white on the box's green reads poorly: 2.3 to 1
    pal.setColor(QPalette::Text, look::pick(Qt::white, Qt::black));
    Memo->setPalette(pal);

    pn_bottom = new MsgPanel(this, false);
    look::setBackground(pn_bottom, kBody);

    static const char* const captions[msgbox::ButtonCount] = {
        "&Ja", "&Nein", "OK", "Abbrechen", "&Hilfe", "Abbruch", "&Wiederholen", "&Ignorieren"};
    static const int results[msgbox::ButtonCount] = {mrYes,  mrNo,    mrOk,    mrCancel,
                                                     mrNone, mrAbort, mrRetry, mrIgnore};
    TPushButton** fields[msgbox::ButtonCount] = {&bnYes,  &bnNo,    &bnOK,    &bnCancel,
                                                 &bnHelp, &bnAbort, &bnRetry, &bnIgnore};
    for (int i = 0; i < msgbox::ButtonCount; ++i) {
        auto* b = new TPushButton(QString::fromUtf8(captions[i]), pn_bottom);
        b->setFaceColour(kLight);
        b->setFont(look::arial(qRound(13 * t), true));
        b->resize(130, qRound(30 * t));
        b->hide();
        const int result = results[i];
        if (result != mrNone) // "Hilfe" does nothing
            connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        *fields[i] = b;
    }
    resize(msgbox::DesignWidth, 250);
}

TPushButton* TxMsgDlg::button(int tableIndex) const
{
    const TPushButton* const all[msgbox::ButtonCount] = {bnYes,  bnNo,    bnOK,    bnCancel,
                                                         bnHelp, bnAbort, bnRetry, bnIgnore};
    return tableIndex >= 0 && tableIndex < msgbox::ButtonCount
               ? const_cast<TPushButton*>(all[tableIndex])
               : nullptr;
}

QString TxMsgDlg::headingText() const
{
    return static_cast<const MsgPanel*>(pn_top)->text;
}

void TxMsgDlg::prepare(const QString& text, int kind, int buttons, QSize screen)
{
    static_cast<MsgPanel*>(pn_top)->text = msgbox::heading(kind);
    // No frame shows the title; a screen reader names the box by it.
    QString title = msgbox::heading(kind).trimmed();
    if (title.endsWith(u':'))
        title.chop(1);
    setWindowTitle(title);
    pn_top->setAccessibleName(title);
    pn_top->update();

    const QStringList lines = msgbox::splitLines(text);
    const QFontMetrics fm(Memo->font());
    int widest = 0;
    QStringList shown;
    shown.reserve(lines.size());
    for (const QString& line : lines) {
        shown.append(displayText(line));
        widest = std::max(widest, fm.horizontalAdvance(shown.last()));
    }
    const int lineHeight = fm.height();

    const QList<int> visible = msgbox::visibleButtons(buttons);
    for (int i = 0; i < msgbox::ButtonCount; ++i)
        button(i)->setVisible(visible.contains(i));

    msgbox::Geometry g =
        msgbox::layout(widest, lineHeight, int(lines.size()), int(visible.size()), screen);

    // Lines wider than the screen wrap; give the wrapped lines room too, within the
    // screen, so that no part of a message is hidden below the buttons.
    Memo->clear();
    QTextCursor cur(Memo->document());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    for (int i = 0; i < shown.size(); ++i) {
        if (i == 0)
            cur.setBlockFormat(centred);
        else
            cur.insertBlock(centred);
        cur.insertText(shown[i]);
    }
    const int needed = textHeight(g.window.width()) + msgbox::TopHeight + msgbox::BottomHeight + 24;
    if (needed > g.window.height() && g.window.height() < screen.height()) {
        const int h = std::min(needed, screen.height());
        g.window.setTop(h >= screen.height() ? 0 : (screen.height() - h) / 2);
        g.window.setHeight(h);
    }

    m_buttonWidth = g.buttonWidth;
    m_buttonLefts = g.buttonLefts;
    setGeometry(g.window);
    resize(g.window.size());
    placeMemo();

    // Enter presses OK or Ja
    TPushButton* def = bnOK->isVisibleTo(pn_bottom)    ? bnOK
                       : bnYes->isVisibleTo(pn_bottom) ? bnYes
                                                       : nullptr;
    for (int i = 0; i < msgbox::ButtonCount; ++i)
        button(i)->setDefault(button(i) == def);
    if (def)
        def->setFocus();
    else
        button(visible.first())->setFocus();
}

int TxMsgDlg::textHeight(int boxWidth) const
{
    // measured on a copy: the text edit lays its own document out only when it is shown
    std::unique_ptr<QTextDocument> probe(Memo->document()->clone());
    probe->setDefaultFont(Memo->font());
    probe->setTextWidth(boxWidth - 2 * kEdge - 2 * kTextMargin);
    return int(std::ceil(probe->size().height()));
}

void TxMsgDlg::placeMemo()
{
    const int w = width(), h = height();
    pn_top->setGeometry(0, 0, w, msgbox::TopHeight);
    pn_bottom->setGeometry(0, h - msgbox::BottomHeight, w, msgbox::BottomHeight);
    // the text block sits in the middle of the space between heading and buttons
    const int areaTop = msgbox::TopHeight;
    const int areaHeight = std::max(0, h - msgbox::TopHeight - msgbox::BottomHeight);
    const int docHeight = textHeight(w) + 2;
    const int memoHeight = std::min(docHeight, areaHeight);
    Memo->setGeometry(kEdge + kTextMargin, areaTop + (areaHeight - memoHeight) / 2,
                      w - 2 * kEdge - 2 * kTextMargin, memoHeight);

    int k = 0;
    for (int i = 0; i < msgbox::ButtonCount; ++i) {
        TPushButton* b = button(i);
        if (!b->isVisibleTo(pn_bottom))
            continue;
        const int left = k < m_buttonLefts.size() ? m_buttonLefts[k] : 30;
        b->setGeometry(left, (msgbox::BottomHeight - 30) / 2, m_buttonWidth, 30);
        ++k;
    }
}

void TxMsgDlg::fitButtonsToCaptions()
{
    int needed = m_buttonWidth;
    int visible = 0;
    for (int i = 0; i < msgbox::ButtonCount; ++i) {
        TPushButton* b = button(i);
        if (!b->isVisibleTo(pn_bottom))
            continue;
        ++visible;
        QString caption = b->text();
        caption.remove(u'&');
        needed = std::max(needed, b->fontMetrics().horizontalAdvance(caption) + 32);
    }
    if (needed == m_buttonWidth || visible == 0)
        return;
    m_buttonWidth = needed;
    // Evenly spread again, each in the middle of its share of the bar.
    const int share = width() / visible;
    m_buttonLefts.clear();
    for (int k = 0; k < visible; ++k)
        m_buttonLefts.append(k * share + std::max(0, (share - needed) / 2));
    placeMemo();
}

void TxMsgDlg::paintEvent(QPaintEvent*)
{
    // the text area's colour behind the text, framed in the box's own colour
    QPainter p(this);
    p.fillRect(rect(), kBody);
    p.fillRect(0, 0, kEdge, height(), kFrame);
    p.fillRect(width() - kEdge, 0, kEdge, height(), kFrame);
}

void TxMsgDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeMemo();
}

void TxMsgDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        done(mrCancel);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TxMsgDlg::reject()
{
    done(mrCancel);
}

int xMessageDlg(const QString& text, int kind, int buttons, int helpContext)
{
    Q_UNUSED(helpContext);
    if (const MessageHook& hook = hookSlot())
        return hook(text, kind, buttons);
    const QPointer<QWidget> before = QApplication::activeWindow();
    TxMsgDlg box(before);
    box.prepare(text, kind, buttons, screenSize());
    const int result = box.exec();
    // Without a window manager nobody hands the keyboard back to the window below.
    if (before && before->isVisible())
        before->activateWindow();
    return result == 0 ? int(mrCancel) : result;
}

int xRetryDlg(const QString& text, const QString& otherCaption)
{
    if (const MessageHook& hook = hookSlot())
        return hook(text, mkFehlermeldung, btn::Retry | btn::Ignore);
    const QPointer<QWidget> before = QApplication::activeWindow();
    TxMsgDlg box(before);
    box.prepare(text, mkFehlermeldung, btn::Retry | btn::Ignore, screenSize());
    box.bnIgnore->setText(otherCaption);
    box.fitButtonsToCaptions();
    box.bnIgnore->setDefault(false);
    box.bnRetry->setDefault(true);
    box.bnRetry->setFocus();
    const int result = box.exec();
    if (before && before->isVisible())
        before->activateWindow();
    return result == mrRetry ? int(mrRetry) : int(mrIgnore);
}

QString xInputBox(const QString& caption, const QString& prompt, const QString& def, bool* ok,
                  QWidget* parent)
{
    return inputBox(caption, prompt, def, ok, parent, [&caption, &prompt](QDialog& dialog) {
        // Framed like the message box: the caption stands in the box in large type, not
        // in a title bar that a window manager may shorten.
        dialog.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        look::setBackground(&dialog, kBody);
        look::setTextColour(&dialog, Qt::black);
        dialog.setFont(look::comic(21, true));
        dialog.setStyleSheet(QStringLiteral(
            "QDialog { border: 6px solid rgb(0,128,64); }"
            "QPushButton { font: bold 16px Arial; padding: 6px 18px; }"));
        if (auto* input = qobject_cast<QInputDialog*>(&dialog))
            input->setLabelText(caption + u'\n' + prompt);
        if (auto* line = dialog.findChild<QLineEdit*>())
            line->setMinimumWidth(440);
    });
}

MessageHook setMessageHook(MessageHook hook)
{
    MessageHook previous = std::move(hookSlot());
    hookSlot() = std::move(hook);
    return previous;
}

ScopedMessageHook::ScopedMessageHook(int defaultAnswer) : m_default(defaultAnswer)
{
    m_previous = setMessageHook([this](const QString& text, int kind, int buttons) {
        return respond(text, kind, buttons);
    });
}

ScopedMessageHook::~ScopedMessageHook()
{
    setMessageHook(std::move(m_previous));
}

ScopedMessageHook& ScopedMessageHook::answer(int result)
{
    m_answers.append(result);
    return *this;
}

QStringList ScopedMessageHook::texts() const
{
    QStringList out;
    for (const Message& m : m_messages)
        out << m.text;
    return out;
}

int ScopedMessageHook::respond(const QString& text, int kind, int buttons)
{
    m_messages.append({text, kind, buttons});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (m_handler)
        return m_handler(m_messages.last());
    return m_default;
}

int BoxMessageSink::message(const QString& text, int kind, int buttons, int helpContext)
{
    return xMessageDlg(text, kind, buttons, helpContext);
}

void BoxMessageSink::plainMessage(const QString& text)
{
    showPlainMessage(text, QApplication::activeWindow());
}

} // namespace gf
