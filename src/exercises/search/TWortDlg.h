#pragma once

#include "exercises/search/TSearchRunDlg.h"

#include <QFrame>
#include <QHash>
#include <QPixmap>

namespace gf {

class TAbfragDlg;
class TImage;

// The word panel: one word at a time, drawn in one paint of the panel alone.
class TWordPanel final : public QFrame
{
    Q_OBJECT
public:
    explicit TWordPanel(QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return m_text; }
    // Draws the panel with each of these words ahead of time, so showing one of them
    // is a single copy.
    void prepare(const QStringList& words);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void draw(QPainter& painter, const QString& text);

    QString m_text;
    QHash<QString, QPixmap> m_drawn; // at the size they were drawn for
};

// The word search ("Nachrichtenzentrale"): 4 to 10 words one after another, then the
// question for the last word of one category.
class TWortDlg final : public TSearchRunDlg
{
    Q_OBJECT

public:
    explicit TWortDlg(AppContext& ctx, QWidget* parent = nullptr);
    // Tests and the benchmark run the window on a clock and generator of their own.
    TWortDlg(AppContext& ctx, QWidget* parent, StepClock& clock, Random& random);

    // The program's query dialog; without one the window makes its own.
    TAbfragDlg* AbfragDlg = nullptr;

    TImage* BackImage;
    TWordPanel* WordPanel;

protected:
    void placeStage() override;
    bool prepareItems() override;
    void showItem(const QString& text) override;
    void clearItem() override;
    QWidget* stage() const override;
    TSearchQueryDlg& queryDlg() override;

private:
    TAbfragDlg* m_ownAbfragDlg = nullptr;
};

} // namespace gf
