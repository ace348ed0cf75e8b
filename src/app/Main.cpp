#include "app/Main.h"
#include "app/MainShared.h"

#include "app/core/ColorDisplay.h"
#include "app/core/IntegerText.h"
#include "colormodel/ColorNames.h"
#include "magnifier/Magnifier.h"
#include "pickers/HColorPicker.h"
#include "pickers/HSLColorPicker.h"
#include "pickers/HexaColorPicker.h"
#include "pickers/SColorPicker.h"
#include "pickers/SLHColorPicker.h"
#include "pickers/VColorPicker.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace tintara {

using namespace mainwindow;

namespace {

// The palette document of the file, a fresh one holding an empty "Default" palette when there is no
// file yet, or none when the file exists but cannot be read or parsed (it is then never overwritten);
// `error` then names the file and gives the reader's reason (with line and column where it has them).
std::unique_ptr<PaletteDocument> readPaletteFile(const std::filesystem::path& path, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec)
        return std::make_unique<PaletteDocument>(PaletteDocument::createDefault());
    const std::string prefix = "Cannot read \"" + path.string() + "\": ";
    try {
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            error = prefix + (errno ? std::strerror(errno) : "the file cannot be opened");
            return nullptr;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) {
            error = prefix + (errno ? std::strerror(errno) : "the file cannot be read");
            return nullptr;
        }
        return std::make_unique<PaletteDocument>(PaletteDocument::parse(bytes));
    } catch (const std::exception& e) {
        error = prefix + e.what();
        return nullptr;
    }
}

constexpr int kStatusBarHeight = 17;
constexpr int kBorder = 1; // the window's BorderWidth
constexpr int kBoxMargin = 4;
constexpr char kStatusLinkUrl[] = "https://tintara.example.org/graphic-arts-tools";

// The displays are rewritten up to a hundred times a second: a control is only touched when what it
// shows changes, so a still cursor repaints nothing and a caret in an unchanged field stays put.
void setTextIfChanged(QLabel* label, QLatin1StringView text)
{
    if (label->text() != text)
        label->setText(QString(text));
}

// The display units write into the caller's buffer; a label takes that text without a copy.
QLatin1StringView latin1(std::string_view text)
{
    return QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
}

// The two chevrons of the panel toggles: index 0 points down (collapsed), index 1 up (open).
QPixmap chevron(bool up)
{
    QPixmap pm(10, 10);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 200), 2));
    if (up)
        p.drawPolyline(QPolygonF({QPointF(1.5, 7), QPointF(5, 3), QPointF(8.5, 7)}));
    else
        p.drawPolyline(QPolygonF({QPointF(1.5, 3), QPointF(5, 7), QPointF(8.5, 3)}));
    return pm;
}

} // namespace

void TfrmMain::statusBarClick()
{
    platform_.openUrl(kStatusLinkUrl); // the result is ignored
}

// ---------------------------------------------------------------------------------------------
// Creation and closing

std::array<QGroupBox*, 5> TfrmMain::groupBoxes() const
{
    return {grpPalettes, grpChips, grpColor, grpMixer, grpMagnify};
}

void TfrmMain::FormCreate()
{
    const std::array<QGroupBox*, 5> boxes = groupBoxes();
    const char* toggleNames[] = {"imgTogglePalettes", "imgToggleChips", "imgToggleColor", "imgToggleMixer",
                                 "imgToggleMagnify"};
    for (int i = 0; i < 5; ++i) {
        auto* img = new ClickLabel(boxes[i]);
        img->setObjectName(QLatin1String(toggleNames[i]));
        img->setPixmap(chevron(true));
        img->setAlignment(Qt::AlignCenter);
        img->setToolTip(QStringLiteral("Click to Toggle Panel"));
        img->setProperty("tag", 0);
        connect(img, &ClickLabel::clicked, this, [this, img] { TogglePanel(img, true); });
        toggleImages[i] = img;
    }
    imgTogglePalettes = toggleImages[0];
    imgToggleChips = toggleImages[1];
    imgToggleColor = toggleImages[2];
    imgToggleMixer = toggleImages[3];
    imgToggleMagnify = toggleImages[4];

    // The current chip starts as the hidden placeholder (the chip bank's slot 0).
    minimumWidth_ = width();
    setMinimumWidth(minimumWidth_); // FormCanResize: never narrower than designed
    setLabelColors(txtHiLite, pntMagnify->HiLiteColor(), clBlack);
    setLabelColors(txtGrid, pntMagnify->GridColor(), clBlack);
    qApp->installEventFilter(this); // KeyPreview

    options_ = std::make_unique<TTintaraOptions>(env_.settingsPath);
    move(options_->X, options_->Y);
    resize(std::max(options_->Width, minimumWidth_), options_->Height);
    layoutPanels(); // the boxes' present heights count when they collapse, and the window is not shown yet
    for (int i = 0; i < 5; ++i)
        if (options_->Closed[i])
            TogglePanel(toggleImages[i], false);

    std::string readError;
    paletteDocument_ = readPaletteFile(env_.palettePath, readError);
    if (!paletteDocument_) {
        paletteReadError_ = QString::fromStdString(readError);
        std::fprintf(stderr, "Tintara: %s\n", readError.c_str());
    }
    LoadPaletteList(); // without a document this shows the error item and leaves the chips alone

    trkZoomChange();

    if (options_->FirstRun) {
        if (env_.askFourK && env_.askFourK(this))
            options_->Is4K = true;
        options_->FirstRun = false;
        update();
    }
    if (options_->Is4K)
        pntMagnify->setFourK(true);
    pntMagnify->setOffsetX(options_->XOffset);
    pntMagnify->setOffsetY(options_->YOffset);
    tabHexShow(); // the tab shown at start-up
}

bool TfrmMain::FormClose()
{
    StoreChipsInPalette();
    if (!SavePaletteFile())
        return false;
    options_->X = x();
    options_->Y = y();
    options_->Width = width();
    options_->Height = height();
    const std::array<QGroupBox*, 5> boxes = groupBoxes();
    for (int i = 0; i < 5; ++i)
        options_->Closed[i] = isPanelClosedAtClose(boxes[i]->height());
    options_->save(); // a failed save is ignored: the settings of this run are lost, nothing else
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (closed_) {
        event->accept();
        return;
    }
    if (!FormClose()) {
        if (!closing_) {
            event->ignore(); // the palette file could not be written: stay open so nothing is lost
            return;
        }
    }
    closed_ = true;
    timTintara->stop();
    event->accept();
}

void TfrmMain::closeForSession()
{
    closing_ = true;
    close();
}

void TfrmMain::setSessionNotice(const QString& notice)
{
    statusLink->setToolTip(statusLink->toolTip() + QStringLiteral("\n\n") + notice);
}

void TfrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto* e = static_cast<QWindowStateChangeEvent*>(event);
        const bool wasMin = e->oldState() & Qt::WindowMinimized;
        const bool isMin = windowState() & Qt::WindowMinimized;
        if (isMin && !wasMin)
            ApplicationMinimize();
        else if (wasMin && !isMin)
            ApplicationRestore();
    }
    QWidget::changeEvent(event);
}

void TfrmMain::ApplicationMinimize()
{
    releaseHeldBack(); // no tick will
    timTintara->stop();
    setWindowIconText(QStringLiteral("Tintara"));
}

void TfrmMain::ApplicationRestore()
{
    timTintara->start(); // its first tick brings the colour back to the taskbar's title
}

// ---------------------------------------------------------------------------------------------
// Layout of the five boxes: the top four keep their heights, the Magnify box takes the rest.

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutPanels();
    // The window repaints whole, perhaps into a new backing store, and a held control would not be
    // painted there.
    releaseHeldBack();
}

void TfrmMain::layoutPanels()
{
    const int w = width() - 2 * kBorder;
    const int h = height() - 2 * kBorder - kStatusBarHeight;
    panMain->setGeometry(kBorder, kBorder, w, h);
    statusBar->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
    statusLink->setGeometry(0, 0, std::max(100, statusLink->sizeHint().width()), kStatusBarHeight);
    const std::array<QGroupBox*, 5> boxes = groupBoxes();
    int y = 0;
    for (int i = 0; i < 4; ++i) {
        boxes[i]->setGeometry(kBoxMargin, y, w - 2 * kBoxMargin, boxHeight_[i]);
        y += boxHeight_[i];
    }
    grpMagnify->setGeometry(kBoxMargin, y, w - 2 * kBoxMargin, std::max(0, h - y));
    for (int i = 0; i < 5; ++i)
        if (toggleImages[i])
            toggleImages[i]->setGeometry(boxes[i]->width() - 17, 1, 12, 12);
    if (pntMagnify) {
        const int mw = grpMagnify->width() - 4;
        const int mh = grpMagnify->height() - 38;
        pntMagnify->setVisible(mh > 0);
        if (mh > 0)
            pntMagnify->setGeometry(2, 36, mw, mh);
    }
}

void TfrmMain::TogglePanel(ClickLabel* image, bool adjustWindow)
{
    const int i = static_cast<int>(std::find(toggleImages.begin(), toggleImages.end(), image) - toggleImages.begin());
    if (i >= 5)
        return;
    const std::array<QGroupBox*, 5> boxes = groupBoxes();
    PanelToggle& panel = panels_[i];
    const PanelHeights now = togglePanel(panel, PanelHeights{boxes[i]->height(), height()}, adjustWindow);
    image->setProperty("tag", panel.imageTag);
    image->setPixmap(chevron(panel.glyph() == kGlyphOpen));
    if (i < 4)
        boxHeight_[i] = now.box;
    else
        boxes[i]->resize(boxes[i]->width(), now.box); // until the window's height catches up
    if (now.window != height())
        resize(width(), now.window);
    layoutPanels();
}

// ---------------------------------------------------------------------------------------------
// The sampling loop

void TfrmMain::timTintaraTimer()
{
    // The timer runs on through the tick: the toolkit never fires a timer again while its handler
    // runs, even under a nested event loop (an error box), and stopping and restarting it would
    // allocate on every tick.
    tickMs_ = platform_.monotonicMs();
    const TPoint before = pntMagnify->LastPoint();
    try {
        SampleCurrentColor();
        RefreshDisplays(false);
    } catch (const CursorPosError&) {
        // The cursor could not be read (it is on another screen): try again next tick.
    }
    // What the cadences held back goes out with a tick that repaints anyway, so that it costs no
    // window update of its own: a tick that finds the cursor resting right after a move leaves it to
    // the next tick, when the cursor has usually moved on (few hands move it on every tick). A tick
    // late at most.
    const bool moved = pntMagnify->LastPoint() != before;
    const bool waitForMove = !moved && movedLastTick_;
    movedLastTick_ = moved;
    if (!waitForMove) {
        followTitle();
        followHeldBack();
    }
    updateStatusLabel();
}

bool TfrmMain::holdsBackRepaints() const
{
    return !heldControls_.empty() || std::any_of(mixerPickers_.begin(), mixerPickers_.end(),
                                                 [](PickerBase* p) { return p->hasHeldBackRepaint(); });
}

std::array<ReadoutEdit*, 8> TfrmMain::readouts() const
{
    return {txtRGB, txtDecRGB, txtHue, txtSaturation, txtValue, txtDecR, txtDecG, txtDecB};
}

std::array<ReadoutLabel*, 4> TfrmMain::readoutLabels() const
{
    return {lblCyan, lblMagenta, lblYellow, lblBlack};
}

void TfrmMain::followTitle()
{
    const QLatin1StringView wanted(title_.data(), titleLength_);
    const bool minimised = windowState() & Qt::WindowMinimized;
    const auto readouts = this->readouts();
    const auto labels = readoutLabels();
    const bool behind =
        windowTitle() != wanted || (!minimised && windowIconText() != wanted) ||
        std::any_of(readouts.begin(), readouts.end(), [](ReadoutEdit* r) { return r->hasUncommittedText(); }) ||
        std::any_of(labels.begin(), labels.end(), [](ReadoutLabel* l) { return l->hasUncommittedText(); });
    if (behind && titleCadence_.due(tickMs_))
        writeTitle();
}

void TfrmMain::followHeldBack()
{
    if (holdsBackRepaints() && heldRepaintCadence_.due(tickMs_))
        releaseHeldBack();
}

void TfrmMain::releaseHeldBack()
{
    for (PickerBase* picker : mixerPickers_)
        picker->repaintHeldBack();
    if (!heldControls_.empty()) {
        // The current chip's and the swatch's colours wait for their repaint, like their pictures (any
        // other chip is painted as soon as it stops being the current one).
        paintChip(chips_.current());
        showSwatchColors();
    }
    for (QWidget* control : heldControls_)
        control->setUpdatesEnabled(true); // repaints it
    heldControls_.clear();
}

bool TfrmMain::isHeld(const QWidget* control) const
{
    return std::find(heldControls_.begin(), heldControls_.end(), control) != heldControls_.end();
}

void TfrmMain::showSwatchColors()
{
    setLabelColors(txtColorCurrent, swatchBackground_, swatchText_);
}

// The read-outs' texts and the chip's colour follow every new colour at once (what they hold is always
// the colour sampled), but while the colour keeps changing the read-outs, the chip and the swatch
// repaint at the mixer's cadence, 25 times a second: digits rewritten fifty times a second cannot be
// read, a patch of colour looks the same at either rate, and each repainted control costs the toolkit a
// round of its own, whatever it draws. The magnifier, which follows the hand, keeps up with every tick.
void TfrmMain::holdRepaintOf(QWidget* control, bool showNow)
{
    if (!holdingRepaints_ || showNow || !control->updatesEnabled())
        return;
    control->setUpdatesEnabled(false);
    heldControls_.push_back(control); // within the capacity reserved for every control that may be held
}

void TfrmMain::showReadout(ReadoutEdit* readout, QLatin1StringView text)
{
    if (readout->text() == text)
        return;
    // A field the user is in shows its text, caret and selection at once.
    if (readout->hasFocus() && !readout->updatesEnabled()) {
        std::erase(heldControls_, readout);
        readout->setUpdatesEnabled(true);
    }
    holdRepaintOf(readout, readout->hasFocus());
    readout->showText(text);
}

void TfrmMain::showReadout(ReadoutLabel* label, QLatin1StringView text)
{
    if (label->text() == text)
        return;
    holdRepaintOf(label);
    label->showText(text);
}

void TfrmMain::writeTitle()
{
    for (ReadoutEdit* readout : readouts())
        readout->commitText();
    for (ReadoutLabel* label : readoutLabels())
        label->commitText();
    const QLatin1StringView wanted(title_.data(), titleLength_);
    if (windowTitle() != wanted)
        setWindowTitle(QString(wanted));
    // The application title, what a taskbar shows for the window, is "Tintara" while minimised.
    if (!(windowState() & Qt::WindowMinimized) && windowIconText() != wanted)
        setWindowIconText(windowTitle());
    // With the cursor still nothing else is painted, and the toolkit sends a property change only
    // with its next flush: send it now.
    platform_.flushWindowSystem();
}

void TfrmMain::SampleCurrentColor()
{
    if (chips_.isCurrentLocked()) {
        pntMagnify->setCurColor(chips_.currentColor());
        magnifierHoldsChipColor_ = true;
    } else {
        // After a locked chip has lent the magnifier its colour, an unlocked chip must not inherit
        // it: sample again even though the cursor has not moved.
        pntMagnify->pickColor(magnifierHoldsChipColor_);
        magnifierHoldsChipColor_ = false;
    }
}

bool TfrmMain::IsForeground() const
{
    return platform_.isForeground(static_cast<std::uintptr_t>(window()->winId()));
}

void TfrmMain::updateStatusLabel()
{
    if (IsForeground()) {
        statusBackground_ = tcolor(palette().color(QPalette::Button));
        setLabelColors(lblCtrlH, statusBackground_, kNavy);
        setTextIfChanged(lblCtrlH, chips_.isCurrentLocked()
                                       ? QLatin1StringView("Press Ctrl and G on your keyboard to ungrab a Color")
                                       : QLatin1StringView("Press Ctrl and G on your keyboard to grab a Color"));
        pulse_.restart(redOf(statusBackground_));
        return;
    }
    // The pulse and what the cadence holds back share their window updates: the pulse waits a few ticks
    // for the held-back repaints, and when it cannot wait (a turn), they go out with it.
    const bool held = holdsBackRepaints();
    if (pulse_.tick(held)) {
        statusBackground_ = rgbColor(pulse_.red(), 0, 0);
        setLabelColors(lblCtrlH, statusBackground_, clWhite);
        if (held) {
            heldRepaintCadence_.written(tickMs_);
            releaseHeldBack();
        }
    }
    setTextIfChanged(lblCtrlH, QLatin1StringView("Click this Tintara window to start grabbing colors"));
}

void TfrmMain::RefreshDisplays(bool force)
{
    const int cur = chips_.current();
    if (chips_.chip(cur).locked && !force)
        return;
    // Most ticks sample the colour that is already shown; only a user's edit of a display or a
    // slider can make a display differ from it then.
    const TColor sampled = pntMagnify->CurColor();
    if (!force && shown_.valid && shown_.color == sampled && shown_.chip == cur && !displaysEdited_)
        return;
    refreshing_ = true;
    // The mixer's pictures, the read-outs, the chip and the swatch follow a moving colour at their own
    // cadence; a user's action shows at once.
    const bool hold = !force && !heldRepaintCadence_.due(tickMs_);
    for (PickerBase* picker : mixerPickers_)
        picker->setRepaintsHeld(hold);
    holdingRepaints_ = hold;
    const auto release = qScopeGuard([this, hold] {
        for (PickerBase* picker : mixerPickers_)
            picker->setRepaintsHeld(false);
        holdingRepaints_ = false;
        if (!hold)
            releaseHeldBack();
    });
    const auto red = pntMagnify->Red();
    const auto green = pntMagnify->Green();
    const auto blue = pntMagnify->Blue();
    const TColor chip = static_cast<TColor>(red + 256 * green + 65536 * blue);
    std::array<char, kDecimalTextSize> buf;
    const auto decimal = [&buf](std::int32_t value) { return latin1(formatDecimal(value, buf)); };
    showReadout(txtDecB, decimal(static_cast<std::int32_t>(blue)));
    showReadout(txtDecG, decimal(static_cast<std::int32_t>(green)));
    showReadout(txtDecR, decimal(static_cast<std::int32_t>(red)));
    showReadout(txtDecRGB, decimal(decimalColor(pntMagnify->CurColor())));
    std::array<char, kHexTextSize> hexDigits;
    const std::string_view hex = formatHexColor(chip, hexDigits);
    showReadout(txtRGB, latin1(hex));

    if (chips_.chip(cur).color != chip) {
        holdRepaintOf(chipLabels[cur]);
        holdRepaintOf(txtColorCurrent);
    }
    chips_.setColor(cur, chip);
    // A held chip or swatch takes its new colours when it is let go: every palette set makes the
    // toolkit copy the palette's brushes, over a hundred allocations, for colours nobody would see.
    if (!isHeld(chipLabels[cur]))
        paintChip(cur);

    const bool webSafe = pntMagnify->WebSafe();
    cmdSnap->setVisible(chips_.chip(cur).locked && !webSafe);
    // The name, and "WebSafe" two lines below it (a label breaks lines at "\n").
    char caption[64];
    const int n = std::snprintf(caption, sizeof caption, webSafe ? "%s\n\nWebSafe" : "%s", pntMagnify->ColorName());
    setTextIfChanged(txtColorCurrent, QLatin1StringView(caption, n));
    swatchBackground_ = chip;
    swatchText_ = pntMagnify->DarkColor() ? clWhite : clBlack;
    if (!isHeld(txtColorCurrent))
        showSwatchColors();

    titleLength_ = std::snprintf(title_.data(), title_.size(), "Tintara - %.6s", hex.data());

    if (!sliderDragFlag_) {
        HueColorPicker->setSelectedColor(chip);
        SatColorPicker->setSelectedColor(chip);
        ValColorPicker->setSelectedColor(chip);
    }
    ValColorPicker->setHue(HueColorPicker->Hue());
    ValColorPicker->setSaturation(SatColorPicker->Saturation());
    SatColorPicker->setHue(HueColorPicker->Hue());
    SatColorPicker->setValue(ValColorPicker->Value());
    HueColorPicker->setSaturation(SatColorPicker->Saturation());
    HueColorPicker->setValue(ValColorPicker->Value());
    showReadout(txtHue, decimal(HueColorPicker->Hue()));
    showReadout(txtSaturation, decimal(SatColorPicker->Saturation()));
    showReadout(txtValue, decimal(ValColorPicker->Value()));
    if (pagesMixer->currentWidget() == tabSliders) {
        RedColorPicker->setValue(static_cast<int>(red));
        GreenColorPicker->setValue(static_cast<int>(green));
        BlueColorPicker->setValue(static_cast<int>(blue));
    }
    if (pagesMixer->currentWidget() == tabHue && !hueDragFlag_)
        SLHColorPicker->setSelectedColor(chip);
    if (pagesMixer->currentWidget() == tabRainbow && !rainbowDragFlag_)
        HSLColorPicker->setSelectedColor(chip);
    if (pagesMixer->currentWidget() == tabHex && !hexDragFlag_)
        HexColorPicker->setSelectedColor(chip);

    const Cmyk cmyk = cmykPercentages(static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue));
    showReadout(lblCyan, decimal(cmyk.C));
    showReadout(lblYellow, decimal(cmyk.Y));
    showReadout(lblMagenta, decimal(cmyk.M));
    showReadout(lblBlack, decimal(cmyk.K));
    if (force) {
        writeTitle(); // a user's action shows at once
        const std::int64_t now = platform_.monotonicMs();
        titleCadence_.written(now);
        heldRepaintCadence_.written(now);
    }
    shown_ = {sampled, cur, true};
    displaysEdited_ = false;
    refreshing_ = false;
}

void TfrmMain::markDisplaysEdited()
{
    if (!refreshing_)
        displaysEdited_ = true;
}

// ---------------------------------------------------------------------------------------------
// Keys

// Installed once, on the application, so it sees every event of every object: the key preview,
// the fields' key releases, entering the palette list and clicks on the status bar all come here once.
bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        // KeyPreview: the window sees each key once, before the focused control; the key goes on.
        // A key the control ignores travels up to its parents and passes here again: skip those.
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        if (watched == target)
            FormKeyDown(static_cast<QKeyEvent*>(event));
    } else if (event->type() == QEvent::KeyRelease) {
        if (watched == txtRGB)
            txtRGBKeyUp();
        else if (watched == txtDecRGB)
            txtDecRGBKeyUp();
        else if (watched == txtDecR || watched == txtDecG || watched == txtDecB)
            txtDecPartialKeyUp();
    } else if (event->type() == QEvent::FocusIn && watched == cboPalettes) {
        // The list's own popup closing and the window becoming active again give the focus back
        // to a list the user never left: only entering it stores and saves.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            cboPalettesEnter();
    } else if (event->type() == QEvent::MouseButtonPress && watched == statusBar &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // Anywhere on the bar; a press on its text is ignored by the text and reaches the bar.
        statusBarClick();
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::FormKeyDown(QKeyEvent* event)
{
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F16)
        SelectChip(key - Qt::Key_F1 + 1);
    if ((event->modifiers() & Qt::ControlModifier) && key == Qt::Key_G) {
        ToggleChipLock();
        RefreshDisplays(true);
    }
}

// Arrow keys that the focused control did not use (a chip, a button) propagate to the window.
void TfrmMain::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        CMDialogKey(event->key());
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TfrmMain::CMDialogKey(int key)
{
    TPoint p;
    if (!platform_.cursorPos(p))
        return;
    switch (key) {
    case Qt::Key_Left:
        platform_.setCursorPos(p.x - 1, p.y);
        break;
    case Qt::Key_Up:
        platform_.setCursorPos(p.x, p.y - 1);
        break;
    case Qt::Key_Right:
        platform_.setCursorPos(p.x + 1, p.y);
        break;
    case Qt::Key_Down:
        platform_.setCursorPos(p.x, p.y + 1);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Chips

ClickLabel* TfrmMain::ChipByIndex(int n) const
{
    return chipLabels[ChipBank::ChipByIndex(n)];
}

bool TfrmMain::IsChipLocked(int n) const
{
    return chips_.IsChipLocked(n);
}

void TfrmMain::paintChip(int slot)
{
    ClickLabel* chip = chipLabels[slot];
    const bool locked = chips_.chip(slot).locked;
    const TColor c = chips_.chip(slot).color;
    QPalette pal = chip->palette();
    const QColor bg = qcolor(c);
    const QColor fg = qcolor(chips_.chip(slot).markColor);
    if (pal.color(QPalette::Window) != bg || pal.color(QPalette::WindowText) != fg) {
        pal.setColor(QPalette::Window, bg);
        pal.setColor(QPalette::WindowText, fg);
        chip->setPalette(pal);
    }
    const QString mark = locked ? QStringLiteral("\u2714") : QString();
    if (chip->text() != mark)
        chip->setText(mark);
    if (slot != 0) {
        const int style = slot == chips_.current() ? (QFrame::Box | QFrame::Plain) : (QFrame::Panel | QFrame::Sunken);
        if (chip->frameStyle() != style)
            chip->setFrameStyle(style);
    }
}

void TfrmMain::SelectChip(int n)
{
    const ChipBank::Selection change = chips_.selectChip(n);
    paintChip(change.previous);
    paintChip(change.current);
    SampleCurrentColor();
    RefreshDisplays(true);
}

void TfrmMain::SetChipLocked(bool locked)
{
    const int cur = chips_.current();
    if (locked) {
        pntMagnify->setCurColor(chips_.chip(cur).color);
        magnifierHoldsChipColor_ = true;
    }
    chips_.setChipLocked(locked, locked && pntMagnify->DarkColor());
    paintChip(cur);
}

void TfrmMain::ToggleChipLock()
{
    SetChipLocked(!chips_.isCurrentLocked());
}

void TfrmMain::ClearChips()
{
    chips_.clearChips([this](int n) { SelectChip(n); });
    for (int slot = 1; slot <= ChipBank::ChipCount; ++slot)
        paintChip(slot);
}

void TfrmMain::focusFirstChip()
{
    chipLabels[1]->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// Colour group

void TfrmMain::setCurrentChipColorAndRefresh(TColor c)
{
    chips_.setColor(chips_.current(), c);
    paintChip(chips_.current());
    SampleCurrentColor();
    RefreshDisplays(true);
}

void TfrmMain::cmdCopyClick()
{
    const QString kept = txtRGB->text();
    const QString copied = cmdHash->isChecked() ? QLatin1Char('#') + kept : kept;
    QGuiApplication::clipboard()->setText(copied);
    focusFirstChip();
}

void TfrmMain::cmdCopyDecClick()
{
    QGuiApplication::clipboard()->setText(txtDecRGB->text());
    focusFirstChip();
}

void TfrmMain::cmdSnapClick()
{
    for (ReadoutEdit* field : {txtDecR, txtDecG, txtDecB}) {
        const std::optional<int> value = parseInt32(field->text().toStdString());
        if (!value) {
            if (env_.showError)
                env_.showError(this, QStringLiteral("'%1' is not a valid integer value").arg(field->text()));
            return;
        }
        const std::optional<int> snapped = webSnapChannel(*value);
        if (!snapped)
            return; // a channel outside 0..255 can only come from typing: ignored like other bad input
        field->setText(QString::number(*snapped));
    }
    const TColor c = rgbColor(txtDecR->text().toInt(), txtDecG->text().toInt(), txtDecB->text().toInt());
    setCurrentChipColorAndRefresh(c);
    focusFirstChip();
}

void TfrmMain::txtRGBKeyUp()
{
    if (const std::optional<TColor> c = parseHexEntry(txtRGB->text().toStdString()))
        setCurrentChipColorAndRefresh(*c);
}

void TfrmMain::txtDecRGBKeyUp()
{
    if (txtDecRGB->text().isEmpty())
        return;
    if (const std::optional<TColor> c = parseDecimalEntry(txtDecRGB->text().toStdString()))
        setCurrentChipColorAndRefresh(*c);
}

void TfrmMain::txtDecPartialKeyUp()
{
    if (const std::optional<TColor> c = parseChannelEntries(
            txtDecR->text().toStdString(), txtDecG->text().toStdString(), txtDecB->text().toStdString()))
        setCurrentChipColorAndRefresh(*c);
}

// ---------------------------------------------------------------------------------------------
// Magnifier settings bar

void TfrmMain::trkZoomChange()
{
    const int m = 2 * ((trkZoom->value() + 1) / 2);
    pntMagnify->setMagnification(m);
    trkZoom->setValue(m - 1); // an even position fires this handler once more, with the same result
    lblZoom->setText(QStringLiteral("x%1").arg(m));
    focusFirstChip();
}

void TfrmMain::trkPointChange()
{
    pntMagnify->setPointSize(trkPoint->value() * 2 + 1);
    lblPoint->setText(QStringLiteral("Point %1").arg(pntMagnify->PointSize()));
    focusFirstChip();
}

void TfrmMain::applyOverlayColor(bool hiLite)
{
    const TColor current = hiLite ? pntMagnify->HiLiteColor() : pntMagnify->GridColor();
    if (env_.chooseColor) {
        if (const std::optional<TColor> chosen = env_.chooseColor(this, current)) {
            if (hiLite)
                pntMagnify->setHiLiteColor(*chosen);
            else
                pntMagnify->setGridColor(*chosen);
        }
    }
    if (hiLite)
        setLabelColors(txtHiLite, pntMagnify->HiLiteColor(), clBlack);
    else
        setLabelColors(txtGrid, pntMagnify->GridColor(), clBlack);
}

void TfrmMain::txtHiLiteClick()
{
    applyOverlayColor(true);
}
void TfrmMain::txtGridClick()
{
    applyOverlayColor(false);
}

} // namespace tintara
