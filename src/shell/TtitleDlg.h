#pragma once

#include <QDialog>

class QTimer;

namespace gf {

class TImage;

// The title screen: the title picture over the whole window and the logo below the
// middle, for four seconds or until a click.
class TtitleDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit TtitleDlg(QWidget* parent = nullptr);

    TImage* Image;  // title picture, stretched over the window
    TImage* Image1; // logo, at its own size
    QTimer* Timer;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void finish();
};

// Loads BmpDir + name into an image; reports a picture that cannot be read.
bool LoadScreenPicture(TImage* image, const QString& name);

} // namespace gf
