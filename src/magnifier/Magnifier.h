#pragma once
// TMagnifier: the screen magnifier control. A thin widget over MagnifierCore, which holds the state
// and does the work; this class turns Qt's resize and paint events into calls on it.
#include "magnifier/MagnifierCore.h"

#include <QWidget>

#include <vector>

namespace tintara {

class TMagnifier : public QWidget {
    Q_OBJECT
public:
    explicit TMagnifier(ScreenSource& screen, QWidget* parent = nullptr);

    MagnifierCore& core() { return core_; }
    const MagnifierCore& core() const { return core_; }

    // The setters that capture at once (all but the plain stores below) throw CursorPosError when the
    // cursor cannot be read; the handler that called them catches it.
    int Magnification() const { return core_.Magnification(); }
    void setMagnification(int value);
    int PointSize() const { return core_.PointSize(); }
    void setPointSize(int value);
    bool HiLite() const { return core_.HiLite(); }
    void setHiLite(bool value);
    TColor HiLiteColor() const { return core_.HiLiteColor(); }
    void setHiLiteColor(TColor value);
    bool Grid() const { return core_.Grid(); }
    void setGrid(bool value);
    TColor GridColor() const { return core_.GridColor(); }
    void setGridColor(TColor value);
    bool Smooth() const { return core_.Smooth(); }
    void setSmooth(bool value);

    TColor CurColor() const { return core_.CurColor(); }
    void setCurColor(TColor value) { core_.setCurColor(value); }
    bool CaptureOpaque() const { return core_.CaptureOpaque(); }
    void setCaptureOpaque(bool value) { core_.setCaptureOpaque(value); }
    bool FollowMouse() const { return core_.FollowMouse(); }
    void setFollowMouse(bool value) { core_.setFollowMouse(value); }
    bool FourK() const { return core_.FourK(); }
    void setFourK(bool value) { core_.setFourK(value); }
    int OffsetX() const { return core_.OffsetX(); }
    void setOffsetX(int value) { core_.setOffsetX(value); }
    int OffsetY() const { return core_.OffsetY(); }
    void setOffsetY(int value) { core_.setOffsetY(value); }

    std::uint32_t Red() const { return core_.Red(); }
    std::uint32_t Green() const { return core_.Green(); }
    std::uint32_t Blue() const { return core_.Blue(); }
    bool WebSafe() const { return core_.WebSafe(); }
    bool DarkColor() const { return core_.DarkColor(); }
    const char* ColorName() const { return core_.ColorName(); }

    // Captures when the cursor moved (or when forced) and schedules a repaint; returns CurColor.
    // Throws CursorPosError when the cursor cannot be read.
    TColor pickColor(bool Force);
    // Where the last capture was taken.
    TPoint LastPoint() const { return core_.LastPoint(); }

    void setVisible(bool visible) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // A hidden widget gets its resize event only when shown, but the first captures happen while the
    // main window is still being built: the core reads the size we already have.
    void syncSize() { core_.setSize(width(), height()); }
    // Shows a new capture: put straight in the window where the desktop can, else repainted.
    void showCapture();
    bool presentCapture();

    ScreenSource& screen_;
    MagnifierCore core_;
    std::vector<TRect> presented_; // the rectangles of one put, kept to allocate nothing per move
};

} // namespace tintara
