#pragma once

#include <QFrame>
#include <QList>
#include <QRadioButton>

class QButtonGroup;

namespace gf {

// One option of a TRadioGroup: a large round mark and its text, the whole row clickable.
class TRadioItem : public QRadioButton
{
    Q_OBJECT
public:
    explicit TRadioItem(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// A framed group of options with a heading, one option at most chosen. The options
// share the group's height evenly and follow the group's font, so scaling the group's
// geometry and font scales the options with it.
class TRadioGroup : public QFrame
{
    Q_OBJECT
public:
    explicit TRadioGroup(const QString& caption, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }

    // Replaces the options; none is chosen afterwards.
    void setItems(const QStringList& items);
    QStringList items() const;
    int count() const { return int(m_items.size()); }
    TRadioItem* item(int index) const;

    // -1 when no option is chosen.
    int itemIndex() const;
    void setItemIndex(int index);

    // Options fill the first column top to bottom, then the next.
    void setColumns(int columns);
    int columns() const { return m_columns; }

    // The group takes the keyboard focus in place of its options: the arrows move the
    // choice and the digits 1..count choose, so no arrow ever walks the focus onto a
    // button of the window.
    void setChoiceKeys(bool on);

signals:
    // An option was chosen by the user (click or keyboard).
    void itemClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void choose(int index);
    void arrange();
    int captionHeight() const;
    QFont captionFont() const;

    QString m_caption;
    int m_columns = 1;
    bool m_choiceKeys = false;
    QList<TRadioItem*> m_items;
    QButtonGroup* m_group;
};

} // namespace gf
