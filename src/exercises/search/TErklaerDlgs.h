#pragma once

#include "toolkit/TBaseDlg.h"

#include <array>
#include <memory>

class QFrame;
class QLabel;
class QTextEdit;

namespace gf {

class TImage;
class TPushButton;
struct tConfig;

// Common ground of the introductions of the word and the picture search: a text,
// "&Hilfe", "&Zurück" and "&Weiter". Enter always means "&Weiter".
class TSearchIntroDlg : public TBaseDlg
{
    Q_OBJECT

public:
    QTextEdit* Memo1;
    TPushButton* HelpBtn;
    TPushButton* BackBtn; // "&Zurück"
    TPushButton* OKBtn;   // "&Weiter"

    void setLines(const QStringList& lines);
    QStringList lines() const;

protected:
    // backResult: what "&Zurück" answers (mrCancel ends the course, mrBack steps back).
    TSearchIntroDlg(AppContext& ctx, QWidget* parent, const QString& helpKey, int backResult,
                    const QFont& font, Qt::Alignment alignment, const QRect& textArea);
    void FormShow() override;

private:
    int m_backResult;
    Qt::Alignment m_alignment;
};

// First introduction of the word search: the story.
class TXErklaerDlg final : public TSearchIntroDlg
{
    Q_OBJECT
public:
    explicit TXErklaerDlg(AppContext& ctx, QWidget* parent = nullptr);
    static const QStringList& Lines();
};

// First introduction of the picture search: the story.
class TBmpErklaerDlg final : public TSearchIntroDlg
{
    Q_OBJECT
public:
    explicit TBmpErklaerDlg(AppContext& ctx, QWidget* parent = nullptr);
    static const QStringList& Lines();
};

// The story of the current table. The loader hands over the table's lines; a table
// without lines leaves the text as it was.
class TTableIntroDlg : public TSearchIntroDlg
{
    Q_OBJECT
public:
    void setTableLines(const QStringList& lines);

protected:
    TTableIntroDlg(AppContext& ctx, QWidget* parent, const QString& helpKey);
};

class TXErklaer2Dlg final : public TTableIntroDlg
{
    Q_OBJECT
public:
    explicit TXErklaer2Dlg(AppContext& ctx, QWidget* parent = nullptr);
};

class TBmpErkl2Dlg final : public TTableIntroDlg
{
    Q_OBJECT
public:
    explicit TBmpErkl2Dlg(AppContext& ctx, QWidget* parent = nullptr);
};

// Overview of the word search: the categories of the current table with their words.
class TXErklaer3Dlg final : public TSearchIntroDlg
{
    Q_OBJECT
public:
    explicit TXErklaer3Dlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the caller before showing.
    std::shared_ptr<const tConfig> Table;

    std::array<QFrame*, 4> Boxes{};
    std::array<QLabel*, 4> CategoryPanels{};
    std::array<std::array<QLabel*, 4>, 4> ItemPanels{}; // [box][row]

protected:
    void FormShow() override;
};

// Overview of the picture search: the categories of the current table with their
// pictures.
class TBmpErklaer3Dlg final : public TSearchIntroDlg
{
    Q_OBJECT
public:
    explicit TBmpErklaer3Dlg(AppContext& ctx, QWidget* parent = nullptr);

    // Set by the caller before showing.
    std::shared_ptr<const tConfig> Table;

    std::array<QLabel*, 4> Headers{};
    std::array<std::array<TImage*, 4>, 4> Pictures{}; // [column][row]

protected:
    void FormShow() override;
};

// The introduction's header of both overviews.
QStringList overviewLines();

} // namespace gf
