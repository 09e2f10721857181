#pragma once

#include "exercises/search/TSearchRunDlg.h"

#include <QHash>
#include <QPixmap>
#include <array>

class QFrame;

namespace gf {

class TBmpAbfragDlg;
class TFaxFrame;
class TStagePicture;

// The picture search: in each pass 4 to 10 pictures arrive like faxes, then the
// question for the last picture of one category.
// The message for pictures that cannot be shown: the first five by name, then how
// many more.
QString missingPicturesText(const QStringList& files);

class TBmpKatDlg final : public TSearchRunDlg
{
    Q_OBJECT

public:
    explicit TBmpKatDlg(AppContext& ctx, QWidget* parent = nullptr);
    // Tests and the benchmark run the window on a clock and generator of their own.
    TBmpKatDlg(AppContext& ctx, QWidget* parent, StepClock& clock, Random& random);

    // The program's query dialog; without one the window makes its own.
    TBmpAbfragDlg* BmpAbfragDlg = nullptr;

    QFrame* PicturePanel;  // the white frame
    TStagePicture* Image;  // the item picture in it
    std::array<TFaxFrame*, 3> FaxFrames{};
    // The fax frame shown (1..3).
    int faxFrame() const { return m_faxFrame; }

    QString missingMedia() const override;

protected:
    void placeStage() override;
    bool prepareItems() override;
    void showItem(const QString& text) override;
    void clearItem() override;
    QWidget* stage() const override;
    void showFaxFrame(int frame) override;
    TSearchQueryDlg& queryDlg() override;
    std::vector<MemoryRange> presentationBuffers() override;

private:
    QPixmap picture(const QString& name);

    TBmpAbfragDlg* m_ownAbfragDlg = nullptr;
    QHash<QString, QPixmap> m_pictures; // the table's pictures at the size shown
    int m_faxFrame = 1;
};

} // namespace gf
