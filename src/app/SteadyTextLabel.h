#pragma once
// A label whose text stays while its colours change: the status line, whose background pulses while
// another window is active. The text is laid out once and drawn from that layout on each repaint,
// instead of being laid out again for every step of the pulse. A label that is not plain, centred,
// single-line, enabled text without a frame paints as any label.
#include <QLabel>
#include <QStaticText>

namespace tintara {

class SteadyTextLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool paintSteadyText();

    QStaticText layout_;
    QString laidOut_; // the text layout_ holds, if it is ready
    qreal advance_ = 0;
    qreal height_ = 0;
    bool ready_ = false;
};

} // namespace tintara
