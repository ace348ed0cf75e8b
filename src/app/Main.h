#pragma once
// The main window: every control of Tintara lives here, and its handlers are the program's behaviour.
#include "app/ReadoutEdit.h"
#include "app/ReadoutLabel.h"
#include "app/core/Cadence.h"
#include "app/core/ChipBank.h"
#include "app/core/PanelState.h"
#include "app/core/StatusPulse.h"
#include "app/core/TintaraOptions.h"
#include "colormodel/TColor.h"
#include "xml/PaletteDocument.h"

#include <QLabel>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QMenu;
class QSlider;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;

namespace tintara {

class PickerBase;
class PlatformServices;
class TMagnifier;
class THColorPicker;
class THexaColorPicker;
class THSLColorPicker;
class TSLHColorPicker;
class TSColorPicker;
class TVColorPicker;

// A static text that reports clicks: the chips, the overlay swatches, the panel toggles.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// What the window needs from outside: the desktop, where its files live, and the modal questions
// (replaceable so tests can answer them).
struct MainWindowEnvironment {
    PlatformServices* platform = nullptr;
    std::filesystem::path settingsPath;
    std::filesystem::path palettePath;
    // The first-run question; true for Yes.
    std::function<bool(QWidget* parent)> askFourK;
    // The palette name prompt; nullopt on Cancel.
    std::function<std::optional<QString>(QWidget* parent, const QString& prompt, const QString& text)> inputBox;
    // The overlay colour dialog; nullopt on Cancel.
    std::function<std::optional<TColor>(QWidget* parent, TColor initial)> chooseColor;
    // Errors no handler deals with (a palette file that cannot be created, a bad snap field).
    std::function<void(QWidget* parent, const QString& message)> showError;
    // The palette file dialog (for saving when save is set): the chosen path and the index of the
    // chosen name filter; nullopt on Cancel. Unset: Qt's own dialog.
    std::function<std::optional<std::pair<QString, int>>(QWidget* parent, bool save, const QStringList& filters,
                                                         const QString& suggestedName)>
        chooseFile;
    // A notice that is no error (colours left out of an import). Unset: a message box.
    std::function<void(QWidget* parent, const QString& message)> showInfo;
};

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(MainWindowEnvironment env, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The sampling loop and the operations every colour change ends with.
    void timTintaraTimer();
    void SampleCurrentColor();
    void RefreshDisplays(bool force);
    bool IsForeground() const;

    // Chips.
    ClickLabel* ChipByIndex(int n) const;
    bool IsChipLocked(int n) const;
    void SelectChip(int n);
    void SetChipLocked(bool locked);
    void ToggleChipLock();
    void ClearChips();
    int currentChipIndex() const { return chips_.current(); }
    TColor chipColor(int n) const { return chips_.chip(ChipBank::ChipByIndex(n)).color; }
    const ChipBank& chips() const { return chips_; }

    // Colour group handlers.
    void cmdCopyClick();
    void cmdCopyDecClick();
    void cmdSnapClick();
    void txtRGBKeyUp();
    void txtDecRGBKeyUp();
    void txtDecPartialKeyUp();

    // Magnifier settings bar.
    void trkZoomChange();
    void trkPointChange();
    void txtHiLiteClick();
    void txtGridClick();

    // Panels.
    void TogglePanel(ClickLabel* image, bool adjustWindow);

    // Palettes.
    void LoadPaletteList();
    void LoadPaletteIntoChips();
    void StoreChipsInPalette();
    // False when the file could not be written; the error has been reported.
    bool SavePaletteFile();
    void ShowPaletteError();
    void cboPalettesEnter();
    void cboPalettesChange();
    void cmdNewClick();
    void cmdEditClick();
    void cmdDeleteClick();
    // The list's context menu and its two commands (MainPaletteExchange.cpp).
    void cboPalettesContextMenu(const QPoint& globalPos);
    void exportPaletteClick();
    void importPaletteClick();

    // Mixer: take a picker's colour into the current chip, locked; catch a shown tab's picker up.
    void ApplyHexPickerColor();
    void ApplyHSLPickerColor();
    void ApplySLHPickerColor();
    void ApplyRGBSliders();
    void ApplyHSVSliders();
    void tabHexShow();
    void tabRainbowShow();
    void tabHueShow();
    void tabSlidersShow();
    void pagesMixerChange();
    // Shows the mixer tab of this caption (any case); false when there is none.
    bool showMixerTab(const QString& caption);

    // Runs the close sequence; false when it stopped before the end (the palette file could not be written).
    bool FormClose();
    // Closing because the session ends: the sequence runs but cannot keep the window open.
    void closeForSession();
    // A line about the session (what cannot be sampled in it) added to the status line's tool tip.
    void setSessionNotice(const QString& notice);

    TMagnifier* magnifier() const { return pntMagnify; }
    const TTintaraOptions& options() const { return *options_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildPalettesGroup();
    void buildPaletteExchangeMenu();
    void buildChipsGroup();
    void buildColorGroup();
    void buildMixerGroup();
    void buildMagnifyGroup();
    void buildStatusBar();
    void FormCreate();
    void layoutPanels();
    // The five boxes in panel order (Palettes, Chips, Color, Mixer, Magnify).
    std::array<QGroupBox*, 5> groupBoxes() const;
    void paintChip(int slot);
    void updateStatusLabel();
    bool holdsBackRepaints() const;
    // The title and the read-outs' committed texts: what other programs (the window manager, a screen
    // reader) read of the colour, at the title's cadence.
    void followTitle();
    void writeTitle();
    // What the mixer's cadence held back: the pickers' pictures, the read-outs', the chip's and the
    // swatch's repaints.
    void followHeldBack();
    void releaseHeldBack();
    std::array<ReadoutEdit*, 8> readouts() const;
    std::array<ReadoutLabel*, 4> readoutLabels() const;
    void showReadout(ReadoutEdit* readout, QLatin1StringView text);
    void showReadout(ReadoutLabel* label, QLatin1StringView text);
    void holdRepaintOf(QWidget* control, bool showNow = false);
    bool isHeld(const QWidget* control) const;
    void showSwatchColors();
    void setColorOfCurrentChip(TColor c);
    void focusFirstChip();
    void applyOverlayColor(bool hiLite);
    void ApplicationMinimize();
    void ApplicationRestore();
    void statusBarClick();
    void FormKeyDown(QKeyEvent* event);
    void CMDialogKey(int key);
    void setCurrentChipColorAndRefresh(TColor c);
    void markDisplaysEdited();
    bool guardedPalette(const std::function<void()>& steps);
    void connectMixer();
    void pumpPendingMessages();
    void takeMixedColor(TColor color, bool pumpBeforeRefresh);

    MainWindowEnvironment env_;
    PlatformServices& platform_;
    std::unique_ptr<TTintaraOptions> options_;
    std::unique_ptr<PaletteDocument> paletteDocument_;
    QString paletteReadError_; // why "palettes.xml" could not be read at start-up; empty when it could
    ChipBank chips_;
    int minimumWidth_ = 0;
    StatusPulse pulse_;
    // The window title the displays want ("Tintara - RRGGBB"); the tick writes it at its cadence.
    std::array<char, 24> title_{'T', 'i', 'n', 't', 'a', 'r', 'a'};
    int titleLength_ = 7;
    Cadence titleCadence_{100};
    Cadence heldRepaintCadence_{40};
    std::int64_t tickMs_ = 0; // the monotonic clock, read once per tick
    bool movedLastTick_ = false; // the last tick found the cursor somewhere new
    std::vector<PickerBase*> mixerPickers_; // every picker of the mixer, the composites' parts too
    bool holdingRepaints_ = false; // the refresh running now holds repaints back
    std::vector<QWidget*> heldControls_; // controls whose updates are off until the cadence allows
    // The colour's swatch: its background (the colour) and its text, readable on it.
    TColor swatchBackground_ = clWhite;
    TColor swatchText_ = clBlack;
    TColor statusBackground_ = 0;
    bool magnifierHoldsChipColor_ = false;
    // What the displays show, so a tick that samples the same colour again has nothing to write.
    struct Shown {
        TColor color = 0;
        int chip = 0;
        bool valid = false;
    } shown_;
    bool displaysEdited_ = false;
    bool refreshing_ = false;
    bool closing_ = false;
    bool closed_ = false;
    // The mixer's operating flags: while one is set, the refresh leaves its pickers alone.
    bool hexDragFlag_ = false;
    bool rainbowDragFlag_ = false;
    bool hueDragFlag_ = false;
    bool sliderDragFlag_ = false;
    bool rgbSliderDragFlag_ = false;
    bool pumping_ = false;

    // Designed heights of the top-aligned boxes; the Magnify box takes the rest.
    std::array<int, 5> boxHeight_{41, 97, 58, 195, 0};
    std::array<PanelToggle, 5> panels_{};

public:
    // Components, under the names the tests and accessibility tools know them by.
    QWidget* panMain = nullptr;
    QGroupBox* grpPalettes = nullptr;
    QGroupBox* grpChips = nullptr;
    QGroupBox* grpColor = nullptr;
    QGroupBox* grpMixer = nullptr;
    QGroupBox* grpMagnify = nullptr;
    std::array<ClickLabel*, 5> toggleImages{};
    ClickLabel* imgTogglePalettes = nullptr;
    ClickLabel* imgToggleChips = nullptr;
    ClickLabel* imgToggleColor = nullptr;
    ClickLabel* imgToggleMixer = nullptr;
    ClickLabel* imgToggleMagnify = nullptr;

    QComboBox* cboPalettes = nullptr;
    QToolButton* cmdNew = nullptr;
    QToolButton* cmdEdit = nullptr;
    QToolButton* cmdDelete = nullptr;
    QMenu* mnuPalettes = nullptr;
    QAction* mnuExportPalette = nullptr;
    QAction* mnuImportPalette = nullptr;

    std::array<ClickLabel*, 17> chipLabels{}; // [0] is txtToken
    QLabel* lblCtrlH = nullptr;

    QLabel* txtColorCurrent = nullptr;
    ReadoutEdit* txtRGB = nullptr;
    ReadoutEdit* txtDecRGB = nullptr;
    QToolButton* cmdHash = nullptr;
    QToolButton* cmdSnap = nullptr;
    QToolButton* cmdCopyDec = nullptr;
    QToolButton* cmdCopy = nullptr;

    QTabWidget* pagesMixer = nullptr;
    QWidget* tabHex = nullptr;
    QWidget* tabRainbow = nullptr;
    QWidget* tabHue = nullptr;
    QWidget* tabSliders = nullptr;
    THexaColorPicker* HexColorPicker = nullptr;
    THSLColorPicker* HSLColorPicker = nullptr;
    TSLHColorPicker* SLHColorPicker = nullptr;
    THColorPicker* HueColorPicker = nullptr;
    TSColorPicker* SatColorPicker = nullptr;
    TVColorPicker* ValColorPicker = nullptr;
    TVColorPicker* RedColorPicker = nullptr;
    TVColorPicker* GreenColorPicker = nullptr;
    TVColorPicker* BlueColorPicker = nullptr;
    ReadoutEdit* txtHue = nullptr;
    ReadoutEdit* txtSaturation = nullptr;
    ReadoutEdit* txtValue = nullptr;
    ReadoutEdit* txtDecR = nullptr;
    ReadoutEdit* txtDecG = nullptr;
    ReadoutEdit* txtDecB = nullptr;
    ReadoutLabel* lblCyan = nullptr;
    ReadoutLabel* lblMagenta = nullptr;
    ReadoutLabel* lblYellow = nullptr;
    ReadoutLabel* lblBlack = nullptr;

    ClickLabel* txtHiLite = nullptr;
    QCheckBox* chkHiLite = nullptr;
    ClickLabel* txtGrid = nullptr;
    QCheckBox* chkGrid = nullptr;
    QLabel* lblPoint = nullptr;
    QSlider* trkPoint = nullptr;
    QLabel* lblZoom = nullptr;
    QSlider* trkZoom = nullptr;
    TMagnifier* pntMagnify = nullptr;

    QStatusBar* statusBar = nullptr;
    ClickLabel* statusLink = nullptr;
    QTimer* timTintara = nullptr;
};

} // namespace tintara
