#include "exercises/results/TTagDlg.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "core/results/DailyResults.h"
#include "exercises/results/SeqFeedback.h"
#include "exercises/results/TPrintDlg.h"
#include "exercises/results/tGraphPanel.h"
#include "exercises/results/tKatFeedback.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TStatusBar.h"

#include <QApplication>
#include <QDateTime>
#include <QFrame>
#include <QPainter>
#include <QScrollArea>

namespace gf {

namespace {

// The pages' values as text, for a screen reader.
QString katText(const tKatValues& d)
{
    const char* const rows[4] = {"Wörter heute", "Wörter früher", "Bilder heute", "Bilder früher"};
    QStringList lines{QStringLiteral("ARBEITSGEDÄCHTNIS, Wort-Fahndung/Bild-Fahndung")};
    for (int r = 0; r < 4; ++r) {
        QStringList cells;
        for (int j = 1; j <= 4; ++j)
            cells << QStringLiteral("Stufe %1: %2").arg(j).arg(katValueText(d.Values[4 * r + j]));
        lines << QString::fromUtf8(rows[r]) + QStringLiteral(": ") + cells.join(QStringLiteral(", "));
    }
    lines << QStringLiteral("Anzahl Übungen: %1 x Wörter, %2 x Bilder")
                 .arg(d.WordCount)
                 .arg(d.PictureCount);
    return lines.join(QLatin1Char('\n'));
}

QString lengthText(double v)
{
    return v == NoValueReal || !std::isfinite(v) ? QStringLiteral("kein Wert")
                                                 : QLocale(QLocale::German).toString(v, 'f', 1);
}

QString seqText(const tSeqValues& d)
{
    const char* const modes[3] = {"nur Hören", "nur Sehen", "Hören und Sehen"};
    QStringList lines{QStringLiteral("GEDÄCHTNISSPANNE, Telefonvermittlung / Memo-Protokoll")};
    for (int m = 1; m <= 3; ++m) {
        auto part = [&](const QString& name, double today, double earlier, qint32 best) {
            return QStringLiteral("%1 sicher heute %2, früher %3, bestes früher %4")
                .arg(name, lengthText(today), lengthText(earlier),
                     best == NoValue ? QStringLiteral("kein Wert") : QString::number(best));
        };
        lines << QString::fromUtf8(modes[m - 1]) + QStringLiteral(": ") +
                     part(QStringLiteral("Telefon"), d.TelSafeToday[m], d.TelSafeEarlier[m],
                          d.TelBestEarlier[m]) +
                     QStringLiteral("; ") +
                     part(QStringLiteral("Memo"), d.MemoSafeToday[m], d.MemoSafeEarlier[m],
                          d.MemoBestEarlier[m]);
    }
    lines << QStringLiteral("Anzahl Übungen: %1 x Telefon, %2 x Bilder")
                 .arg(d.TelRunsToday)
                 .arg(d.MemoRunsToday);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TTagDlg::TTagDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("aktuelle Ergebnisse"));
    HelpKey = QStringLiteral("stat");

    ClientPanel = new QFrame(this);
    ClientPanel->setGeometry(0, 0, 800, 505);
    ClientPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ClientPanel->setLineWidth(2);
    look::setBackground(ClientPanel, Qt::black);

    KatFeed = new tKatFeedback(ClientPanel);
    KatFeed->setGeometry(2, 2, 796, 501);
    KatFeed->setFont(look::arial(13));
    KatFeed->setColor(Qt::black);
    KatFeed->setLineHeight(17);
    KatFeed->setTextColor(QColor(205, 224, 241));

    SeqFeed = new SeqFeedback(ClientPanel);
    SeqFeed->setGeometry(2, 2, 796, 501);
    SeqFeed->setFont(look::arial(13));
    SeqFeed->setColor(Qt::black);
    SeqFeed->setLineHeight(16);
    SeqFeed->setTextColor(QColor(215, 250, 240));
    SeqFeed->setCircleRadius(10);
    SeqFeed->hide();

    KatFeed->setAccessibleName(QStringLiteral("Wort-Fahndung / Bild-Fahndung"));
    SeqFeed->setAccessibleName(QStringLiteral("Telefonvermittler / Memo-Protokoll"));
    if (look::lowVision()) {
        // Larger text needs a taller page than the screen has: the page scrolls.
        Scroller = new QScrollArea(this);
        Scroller->setGeometry(ClientPanel->geometry());
        Scroller->setWidget(ClientPanel);
        Scroller->setFrameShape(QFrame::NoFrame);
        Scroller->setFocusPolicy(Qt::StrongFocus);
        Scroller->setAccessibleName(QStringLiteral("Tagesergebnisse"));
        look::setBackground(Scroller, Qt::black);
    }

    RightPanel = new QFrame(this);
    RightPanel->setGeometry(0, 505, 800, 55);
    look::setBackground(RightPanel, look::statusBar());
    Group = new TRadioGroup(QString(), RightPanel);
    Group->setFont(look::arial(15, true));
    Group->setColumns(2);
    Group->setGeometry(40, 2, 720, 51);
    Group->setItems({QStringLiteral("Wort-Fahndung / Bild-Fahndung"),
                     QStringLiteral("Telefonvermittler / Memo-Protokoll")});
    Group->setAccessibleName(QStringLiteral("Ergebnisse"));
    connect(Group, &TRadioGroup::itemClicked, this, &TTagDlg::GroupClick);

    PrintBtn = makeButton(QStringLiteral("&Drucken"), nullptr, 200, 30);
    TipBtn = makeButton(QStringLiteral("Erklärungen"), nullptr, 200, 30);
    OKBtn = makeButton(QStringLiteral("&Zurück"), nullptr, 200, 30);
    PrintBtn->setAutoDefault(false);
    TipBtn->setAutoDefault(false);
    OKBtn->setDefault(true);
    connect(PrintBtn, &QPushButton::clicked, this, &TTagDlg::PrintBtnClick);
    connect(TipBtn, &QPushButton::clicked, this, &TTagDlg::TipBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

void TTagDlg::FormShow()
{
    TipBtn->setText(QStringLiteral("Erklärungen"));
    TipBtn->show();
    statusBar()->dock();
    statusBar()->placeCentred(PrintBtn, TipBtn, OKBtn);
    statusBar()->setText(QString());
    if (Scroller) {
        const QSize page(Scroller->viewport()->width(),
                         qRound(Scroller->viewport()->height() * look::textScale()));
        ClientPanel->resize(page);
        for (QWidget* feed : {static_cast<QWidget*>(KatFeed), static_cast<QWidget*>(SeqFeed)})
            feed->setGeometry(2, 2, page.width() - 4, page.height() - 4);
    }
    computeValues();
    Group->setItemIndex(0);
    GroupClick(0);
    OKBtn->setFocus();
}

void TTagDlg::computeValues()
{
    const tProgramData* data = ctx().data;
    if (!data)
        return;
    KatFeed->FontScale = ctx().FontFactor * look::textScale();
    KatFeed->Data = katValues(*data);
    SeqFeed->FontFactor = ctx().FontFactor * look::textScale();
    SeqFeed->Data = seqValues(*data);
    KatFeed->setAccessibleDescription(katText(KatFeed->Data));
    SeqFeed->setAccessibleDescription(seqText(SeqFeed->Data));
    KatFeed->update();
    SeqFeed->update();
}

void TTagDlg::GroupClick(int index)
{
    KatFeed->setVisible(index != 1);
    SeqFeed->setVisible(index == 1);
    update();
}

bool TTagDlg::printPage(QPainter& painter)
{
    const int W = painter.device()->width();
    const int H = painter.device()->height();
    const bool sequencePage = SeqFeed->isVisibleTo(this);

    // The category page keeps the bold printer font; the sequence page is regular.
    m_titleFont = drawPageHeading(painter, printHeadingText(ctx().data), !sequencePage);

    const int left = W / 8, top = H / 8, right = 7 * W / 8, bottom = H - H / 8;
    return sequencePage ? SeqFeed->PrintTo(painter, left, top, right, bottom)
                        : KatFeed->PrintTo(painter, left, top, right, bottom);
}

void TTagDlg::PrintBtnClick()
{
    PrintPage page;
    page.what = SeqFeed->isVisibleTo(this)
                    ? QStringLiteral("Tagesergebnisse Telefonvermittlung und Memo-Protokoll")
                    : QStringLiteral("Tagesergebnisse Wort- und Bild-Fahndung");
    page.draw = [this](QPainter& painter) {
        // Paper is white with black ink only while the page is drawn: a message about
        // the print stands over the screen colours.
        const QColor katBack = KatFeed->Color(), katText = KatFeed->TextColor();
        const QColor seqBack = SeqFeed->Color(), seqText = SeqFeed->TextColor();
        KatFeed->setColor(Qt::white);
        KatFeed->setTextColor(Qt::black);
        SeqFeed->setColor(Qt::white);
        SeqFeed->setTextColor(Qt::black);
        const bool drawn = printPage(painter);
        KatFeed->setColor(katBack);
        KatFeed->setTextColor(katText);
        SeqFeed->setColor(seqBack);
        SeqFeed->setTextColor(seqText);
        return drawn;
    };
    TPrintDlg::print(ctx(), page, this);
    QApplication::processEvents();
}

void TTagDlg::TipBtnClick()
{
    ShowHelpPage(ctx(), QStringLiteral("stat"));
}

} // namespace gf
