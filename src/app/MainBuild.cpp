#include "app/Main.h"
#include "app/MainShared.h"
#include "app/FrameCacheStyle.h"
#include "app/ReadoutEdit.h"
#include "app/ReadoutLabel.h"
#include "app/SteadyTextLabel.h"

#include "magnifier/Magnifier.h"
#include "pickers/HColorPicker.h"
#include "pickers/HSLColorPicker.h"
#include "pickers/HexaColorPicker.h"
#include "pickers/SColorPicker.h"
#include "pickers/SLHColorPicker.h"
#include "pickers/VColorPicker.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QStatusBar>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <optional>

// Building the window: every control at its designed place, with its designed properties.

namespace tintara {

using namespace mainwindow;

namespace {

constexpr int kDesignedWidth = 295;
constexpr int kDesignedHeight = 603;

QToolButton* speedButton(QWidget* parent, const char* name, const QString& caption, const QString& hint)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(arial(11));
    return b;
}

ReadoutEdit* flatEdit(QWidget* parent, const char* name, int maxLength)
{
    auto* e = new ReadoutEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(maxLength);
    e->setFrame(false);
    e->setFont(arial(11));
    e->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    // The edit covers itself; saying so spares the group boxes beneath a repaint on every change.
    e->setAutoFillBackground(true);
    return e;
}

// The colour the tab widget's page area is painted in, so labels laid over it can be opaque.
std::optional<QColor> tabPaneColor(QTabWidget* tabs)
{
    QStyleOptionTabWidgetFrame option;
    option.initFrom(tabs);
    option.rect = QRect(0, 0, 16, 16);
    option.shape = QTabBar::RoundedWest;
    QImage image(16, 16, QImage::Format_RGB32);
    const QColor marker(1, 2, 3);
    image.fill(marker);
    {
        QPainter painter(&image);
        tabs->style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, tabs);
    }
    const QColor inside = image.pixelColor(8, 8);
    if (inside == marker)
        return std::nullopt;
    return inside;
}

QLabel* plainLabel(QWidget* parent, const QString& text, int x, int y, int w, int h, int fontPx = 11)
{
    auto* l = new QLabel(text, parent);
    l->setFont(arial(fontPx));
    l->setGeometry(x, y, w, h);
    return l;
}

} // namespace

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

TfrmMain::TfrmMain(MainWindowEnvironment env, QWidget* parent)
    : QWidget(parent), env_(std::move(env)), platform_(*env_.platform)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tintara"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPixelSize(11);
    setFont(windowFont);
    resize(kDesignedWidth, kDesignedHeight);
    move(200, 150);

    panMain = new QWidget(this);
    panMain->setObjectName(QStringLiteral("panMain"));
    buildPalettesGroup();
    buildChipsGroup();
    buildColorGroup();
    buildMixerGroup();
    buildMagnifyGroup();
    buildStatusBar();
    // Created after the widgets it serves, so as a child of the window it is destroyed after them.
    auto* frames = new FrameCacheStyle;
    frames->setParent(this);
    for (QLabel* swatch : chipLabels)
        swatch->setStyle(frames);
    txtColorCurrent->setStyle(frames);
    // Every control the sampling loop may hold back at once (the read-outs, the CMYK percentages, a
    // chip and the swatch), so that holding them never allocates.
    heldControls_.reserve(readouts().size() + 4 + chipLabels.size() + 1);

    timTintara = new QTimer(this);
    timTintara->setObjectName(QStringLiteral("timTintara"));
    timTintara->setInterval(10);
    connect(timTintara, &QTimer::timeout, this, &TfrmMain::timTintaraTimer);
    timTintara->start();

    for (QLineEdit* edit : {txtRGB, txtDecRGB, txtHue, txtSaturation, txtValue, txtDecR, txtDecG, txtDecB})
        connect(edit, &QLineEdit::textEdited, this, &TfrmMain::markDisplaysEdited);
    // The read-outs change with every sampled colour and show digits and A..F only, which need no
    // kerning or ligatures: laying them out without the shaper takes a good part of a moving tick's work.
    for (QWidget* readout :
         std::initializer_list<QWidget*>{txtRGB, txtDecRGB, txtHue, txtSaturation, txtValue, txtDecR, txtDecG, txtDecB,
                                         lblCyan, lblMagenta, lblYellow, lblBlack}) {
        QFont f = readout->font();
        f.setStyleStrategy(QFont::PreferNoShaping);
        readout->setFont(f);
    }
    for (TktTrackBarPicker* slider : std::initializer_list<TktTrackBarPicker*>{
             HueColorPicker, SatColorPicker, ValColorPicker, RedColorPicker, GreenColorPicker, BlueColorPicker})
        connect(slider, &TktTrackBarPicker::OnChange, this, &TfrmMain::markDisplaysEdited);
    connect(pagesMixer, &QTabWidget::currentChanged, this, &TfrmMain::markDisplaysEdited);

    FormCreate();
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Building the window

void TfrmMain::buildPalettesGroup()
{
    grpPalettes = new QGroupBox(QStringLiteral(" Palettes "), panMain);
    grpPalettes->setObjectName(QStringLiteral("grpPalettes"));
    cboPalettes = new QComboBox(grpPalettes);
    cboPalettes->setObjectName(QStringLiteral("cboPalettes"));
    cboPalettes->setEditable(false);
    cboPalettes->setMaxVisibleItems(20);
    cboPalettes->setFont(arial(9));
    cboPalettes->setGeometry(8, 16, 150, 19);
    connect(cboPalettes, &QComboBox::activated, this, [this] { cboPalettesChange(); });
    buildPaletteExchangeMenu();

    cmdNew = speedButton(grpPalettes, "cmdNew", QStringLiteral("New"), QStringLiteral("Create a New Palette"));
    cmdEdit = speedButton(grpPalettes, "cmdEdit", QStringLiteral("Edit"), QStringLiteral("Edit Palette Name"));
    cmdDelete =
        speedButton(grpPalettes, "cmdDelete", QStringLiteral("Delete"), QStringLiteral("Delete Current Palette"));
    int x = 162;
    for (QToolButton* b : {cmdNew, cmdEdit, cmdDelete}) {
        b->setFont(arial(9));
        b->setGeometry(x, 17, 35, 17);
        x += 37;
    }
    connect(cmdNew, &QToolButton::clicked, this, &TfrmMain::cmdNewClick);
    connect(cmdEdit, &QToolButton::clicked, this, &TfrmMain::cmdEditClick);
    connect(cmdDelete, &QToolButton::clicked, this, &TfrmMain::cmdDeleteClick);
}

void TfrmMain::buildChipsGroup()
{
    grpChips = new QGroupBox(QStringLiteral(" Chips "), panMain);
    grpChips->setObjectName(QStringLiteral("grpChips"));
    static constexpr int row1[] = {11, 43, 75, 107, 139, 171, 203, 235};
    static constexpr int row2[] = {10, 43, 75, 107, 139, 171, 203, 235};
    QFont checkFont = font();
    checkFont.setPixelSize(15);
    for (int n = 1; n <= 16; ++n) {
        auto* chip = new ClickLabel(grpChips);
        chip->setObjectName(QStringLiteral("txtColor%1").arg(n));
        const bool first = n <= 8;
        const int left = first ? row1[n - 1] : row2[n - 9];
        chip->setGeometry(left, first ? 15 : 47, n == 9 ? 30 : 29, 30);
        chip->setAutoFillBackground(true);
        chip->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        chip->setFont(checkFont);
        chip->setFrameStyle(n == 1 ? (QFrame::Box | QFrame::Plain) : (QFrame::Panel | QFrame::Sunken));
        chip->setLineWidth(1);
        chip->setFocusPolicy(Qt::ClickFocus);
        connect(chip, &ClickLabel::clicked, this, [this, n] { SelectChip(n); });
        chipLabels[n] = chip;
    }
    lblCtrlH = new SteadyTextLabel(QStringLiteral("starting Tintara..."), grpChips);
    lblCtrlH->setObjectName(QStringLiteral("lblCtrlH"));
    lblCtrlH->setGeometry(11, 80, 254, 12);
    lblCtrlH->setAlignment(Qt::AlignCenter);
    lblCtrlH->setFont(arial(9));
    lblCtrlH->setAutoFillBackground(true);
    statusBackground_ = tcolor(palette().color(QPalette::Button));
    setLabelColors(lblCtrlH, statusBackground_, kNavy);
    pulse_.restart(redOf(statusBackground_));
}

void TfrmMain::buildColorGroup()
{
    grpColor = new QGroupBox(QStringLiteral(" Color "), panMain);
    grpColor->setObjectName(QStringLiteral("grpColor"));

    // The hidden placeholder that stands in as the current chip until a real chip is chosen.
    auto* token = new ClickLabel(grpColor);
    token->setObjectName(QStringLiteral("txtToken"));
    token->setGeometry(0, 0, 0, 0);
    token->hide();
    chipLabels[0] = token;

    txtColorCurrent = new QLabel(grpColor);
    txtColorCurrent->setObjectName(QStringLiteral("txtColorCurrent"));
    txtColorCurrent->setGeometry(8, 15, 109, 37);
    txtColorCurrent->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    txtColorCurrent->setAlignment(Qt::AlignCenter);
    txtColorCurrent->setFont(arial(9));
    txtColorCurrent->setAutoFillBackground(true);
    setLabelColors(txtColorCurrent, clWhite, clBlack);

    txtRGB = flatEdit(grpColor, "txtRGB", 6);
    txtRGB->setGeometry(124, 15, 59, 17);
    txtDecRGB = flatEdit(grpColor, "txtDecRGB", 8);
    txtDecRGB->setGeometry(124, 35, 59, 17);

    cmdCopy = speedButton(grpColor, "cmdCopy", QStringLiteral("&Copy"),
                          QStringLiteral("Copy the Hex color to the clipboard"));
    cmdCopy->setGeometry(186, 15, 38, 17);
    cmdHash = speedButton(grpColor, "cmdHash", QStringLiteral("#"),
                          QStringLiteral("Adds a '#' to the hex color when copied"));
    cmdHash->setCheckable(true);
    cmdHash->setGeometry(226, 15, 17, 17);
    cmdCopyDec = speedButton(grpColor, "cmdCopyDec", QStringLiteral("C&opy"),
                             QStringLiteral("Copy the decimal color to the clipboard"));
    cmdCopyDec->setGeometry(186, 35, 38, 17);
    cmdSnap = speedButton(grpColor, "cmdSnap", QStringLiteral("Web&Snap"),
                          QStringLiteral("Change the color to be the nearest web safe value"));
    cmdSnap->setGeometry(226, 35, 48, 17);
    cmdSnap->hide();
    connect(cmdCopy, &QToolButton::clicked, this, &TfrmMain::cmdCopyClick);
    connect(cmdCopyDec, &QToolButton::clicked, this, &TfrmMain::cmdCopyDecClick);
    connect(cmdSnap, &QToolButton::clicked, this, &TfrmMain::cmdSnapClick);
}

void TfrmMain::buildMixerGroup()
{
    grpMixer = new QGroupBox(QStringLiteral(" Mixer "), panMain);
    grpMixer->setObjectName(QStringLiteral("grpMixer"));

    pagesMixer = new QTabWidget(grpMixer);
    pagesMixer->setObjectName(QStringLiteral("pagesMixer"));
    pagesMixer->setTabPosition(QTabWidget::West);
    pagesMixer->setFont(arial(9));
    pagesMixer->setGeometry(4, 15, 265, 175);
    pagesMixer->setFocusPolicy(Qt::NoFocus);
    // Four tabs on the left must fit the 175-pixel page control without scroll buttons.
    pagesMixer->setUsesScrollButtons(false);
    pagesMixer->setStyleSheet(
        QStringLiteral("QTabBar::tab { padding: 5px 2px; margin: 0px 0px 1px 0px; border: 1px solid palette(mid);"
                       " border-right: none; border-top-left-radius: 3px; border-bottom-left-radius: 3px;"
                       " background: palette(button); }"
                       "QTabBar::tab:selected { background: palette(window); margin-right: -1px; }"
                       "QTabBar::tab:hover { background: palette(light); }"));
    tabHex = new QWidget;
    tabHex->setObjectName(QStringLiteral("tabHex"));
    tabRainbow = new QWidget;
    tabRainbow->setObjectName(QStringLiteral("tabRainbow"));
    tabHue = new QWidget;
    tabHue->setObjectName(QStringLiteral("tabHue"));
    tabSliders = new QWidget;
    tabSliders->setObjectName(QStringLiteral("tabSliders"));
    pagesMixer->addTab(tabHex, QStringLiteral("Hex"));
    pagesMixer->addTab(tabRainbow, QStringLiteral("Rainbow"));
    pagesMixer->addTab(tabHue, QStringLiteral("Hue"));
    pagesMixer->addTab(tabSliders, QStringLiteral("Sliders"));

    HexColorPicker = new THexaColorPicker(tabHex);
    HexColorPicker->setObjectName(QStringLiteral("HexColorPicker"));
    HexColorPicker->setGeometry(17, 31, 142, 138);
    HexColorPicker->setHintFormat(QStringLiteral("RGB(%r, %g, %b)\rHex: %h"));

    HSLColorPicker = new THSLColorPicker(tabRainbow);
    HSLColorPicker->setObjectName(QStringLiteral("HSLColorPicker"));
    HSLColorPicker->setGeometry(10, 26, 169, 143);
    HSLColorPicker->setHSPickerHintFormat(QStringLiteral("H: %h S: %s\rHex: %hex"));
    HSLColorPicker->setLPickerHintFormat(QStringLiteral("Luminance: %l"));
    HSLColorPicker->setPlatformServices(&platform_);

    SLHColorPicker = new TSLHColorPicker(tabHue);
    SLHColorPicker->setObjectName(QStringLiteral("SLHColorPicker"));
    SLHColorPicker->setGeometry(10, 26, 169, 143);
    SLHColorPicker->setSelectedColor(clFuchsia);
    SLHColorPicker->setHPickerHintFormat(QStringLiteral("Hue: %h"));
    SLHColorPicker->setSLPickerHintFormat(QStringLiteral("S: %s L: %l\rHex: %hex"));
    SLHColorPicker->setPlatformServices(&platform_);

    HueColorPicker = new THColorPicker(tabSliders);
    SatColorPicker = new TSColorPicker(tabSliders);
    ValColorPicker = new TVColorPicker(tabSliders);
    RedColorPicker = new TVColorPicker(tabSliders);
    GreenColorPicker = new TVColorPicker(tabSliders);
    BlueColorPicker = new TVColorPicker(tabSliders);
    HueColorPicker->setObjectName(QStringLiteral("HueColorPicker"));
    SatColorPicker->setObjectName(QStringLiteral("SatColorPicker"));
    ValColorPicker->setObjectName(QStringLiteral("ValColorPicker"));
    RedColorPicker->setObjectName(QStringLiteral("RedColorPicker"));
    GreenColorPicker->setObjectName(QStringLiteral("GreenColorPicker"));
    BlueColorPicker->setObjectName(QStringLiteral("BlueColorPicker"));
    HueColorPicker->setLayout(lyVertical);
    SatColorPicker->setLayout(lyVertical);
    SatColorPicker->setSaturation(0);
    SatColorPicker->setSelectedColor(clWhite);
    ValColorPicker->setSelectedColor(clWhite);
    RedColorPicker->setSaturation(255);
    GreenColorPicker->setHue(120);
    GreenColorPicker->setSaturation(255);
    GreenColorPicker->setSelectedColor(clLime);
    BlueColorPicker->setHue(240);
    BlueColorPicker->setSaturation(255);
    BlueColorPicker->setSelectedColor(clBlue);
    const int lefts[] = {10, 41, 72, 103, 134, 165};
    TktTrackBarPicker* sliders[] = {HueColorPicker, SatColorPicker,   ValColorPicker,
                                    RedColorPicker, GreenColorPicker, BlueColorPicker};
    for (int i = 0; i < 6; ++i) {
        sliders[i]->setNewArrowStyle(true);
        sliders[i]->setGeometry(lefts[i], 26, 26, 143);
        sliders[i]->setPlatformServices(&platform_);
    }
    QWidget::setTabOrder(HueColorPicker, SatColorPicker);
    QWidget::setTabOrder(SatColorPicker, ValColorPicker);
    QWidget::setTabOrder(ValColorPicker, RedColorPicker);
    QWidget::setTabOrder(RedColorPicker, GreenColorPicker);
    QWidget::setTabOrder(GreenColorPicker, BlueColorPicker);

    // The value strip sits over the page area, one box above each slider column.
    auto* panColorValues = new QWidget(grpMixer);
    panColorValues->setObjectName(QStringLiteral("panColorValues"));
    const int pageLeft = 4 + 20; // the page starts right of the tab strip
    panColorValues->setGeometry(pageLeft, 17, 200, 24);
    const char* captions[] = {"Hue", "Sat", "Val", "Red", "Grn", "Blue"};
    const char* names[] = {"txtHue", "txtSaturation", "txtValue", "txtDecR", "txtDecG", "txtDecB"};
    ReadoutEdit* edits[6];
    for (int i = 0; i < 6; ++i) {
        plainLabel(panColorValues, QLatin1String(captions[i]), lefts[i] - 2, 0, 30, 10, 9);
        edits[i] = flatEdit(panColorValues, names[i], 3);
        edits[i]->setFont(arial(9));
        edits[i]->setGeometry(lefts[i] - 2, 10, 28, 13);
    }
    txtHue = edits[0];
    txtSaturation = edits[1];
    txtValue = edits[2];
    txtDecR = edits[3];
    txtDecG = edits[4];
    txtDecB = edits[5];
    panColorValues->raise();

    auto* panCMYK = new QWidget(grpMixer);
    panCMYK->setObjectName(QStringLiteral("panCMYK"));
    panCMYK->setGeometry(222, 110, 50, 72);
    const char* cmykCaptions[] = {"C:", "M:", "Y:", "B:"};
    const char* cmykNames[] = {"lblCyan", "lblMagenta", "lblYellow", "lblBlack"};
    ReadoutLabel* values[4];
    for (int i = 0; i < 4; ++i) {
        plainLabel(panCMYK, QLatin1String(cmykCaptions[i]), 0, i * 17, 14, 14);
        values[i] = new ReadoutLabel(panCMYK);
        values[i]->setFont(arial(11));
        values[i]->setGeometry(14, i * 17, 22, 14);
        values[i]->setObjectName(QLatin1String(cmykNames[i]));
        values[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        plainLabel(panCMYK, QStringLiteral("%"), 37, i * 17, 12, 14);
    }
    lblCyan = values[0];
    lblMagenta = values[1];
    lblYellow = values[2];
    lblBlack = values[3];
    if (const std::optional<QColor> pane = tabPaneColor(pagesMixer)) {
        for (QLabel* value : values) {
            QPalette pal = value->palette();
            pal.setColor(QPalette::Window, *pane);
            value->setPalette(pal);
            value->setAutoFillBackground(true);
        }
    }
    panCMYK->raise();

    const QList<PickerBase*> pickers = grpMixer->findChildren<PickerBase*>();
    mixerPickers_.assign(pickers.begin(), pickers.end());
    connectMixer();
}

void TfrmMain::buildMagnifyGroup()
{
    grpMagnify = new QGroupBox(QStringLiteral(" Magnify "), panMain);
    grpMagnify->setObjectName(QStringLiteral("grpMagnify"));

    auto* bar = new QWidget(grpMagnify);
    bar->setObjectName(QStringLiteral("panMagnifyTop"));
    bar->setGeometry(2, 14, 273, 20);
    auto* bevel = new QFrame(bar);
    bevel->setObjectName(QStringLiteral("bevMagnify"));
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setGeometry(0, 18, 273, 2);

    txtHiLite = new ClickLabel(bar);
    txtHiLite->setObjectName(QStringLiteral("txtHiLite"));
    txtHiLite->setGeometry(9, 1, 13, 13);
    txtHiLite->setToolTip(QStringLiteral("Change HiLite Color"));
    chkHiLite = new QCheckBox(QStringLiteral("Hi-&Lite"), bar);
    chkHiLite->setObjectName(QStringLiteral("chkHiLite"));
    chkHiLite->setGeometry(24, 0, 52, 16);
    chkHiLite->setToolTip(QStringLiteral("Show HiLite in Magnification Area"));
    chkHiLite->setChecked(true);
    txtGrid = new ClickLabel(bar);
    txtGrid->setObjectName(QStringLiteral("txtGrid"));
    txtGrid->setGeometry(79, 1, 13, 13);
    txtGrid->setToolTip(QStringLiteral("Change Grid Color"));
    chkGrid = new QCheckBox(QStringLiteral("&Grid"), bar);
    chkGrid->setObjectName(QStringLiteral("chkGrid"));
    chkGrid->setGeometry(94, 0, 46, 16);
    chkGrid->setToolTip(QStringLiteral("Show Grid in Magnification Area"));
    for (ClickLabel* swatch : {txtHiLite, txtGrid}) {
        swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        swatch->setAutoFillBackground(true);
        swatch->setFocusPolicy(Qt::StrongFocus);
    }
    lblPoint = plainLabel(bar, QStringLiteral("Point 1"), 142, 1, 32, 14);
    lblPoint->setObjectName(QStringLiteral("lblPoint"));
    lblPoint->setToolTip(QStringLiteral("Magnifier Color Sample Size in Pixels"));
    trkPoint = new QSlider(Qt::Horizontal, bar);
    trkPoint->setObjectName(QStringLiteral("trkPoint"));
    trkPoint->setGeometry(173, 0, 23, 16);
    trkPoint->setRange(0, 2);
    trkPoint->setPageStep(1);
    lblZoom = plainLabel(bar, QStringLiteral("x10"), 202, 1, 20, 14);
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    lblZoom->setToolTip(QStringLiteral("Magnification Factor"));
    trkZoom = new QSlider(Qt::Horizontal, bar);
    trkZoom->setObjectName(QStringLiteral("trkZoom"));
    trkZoom->setGeometry(221, 0, 50, 16);
    trkZoom->setRange(1, 36);
    trkZoom->setPageStep(20);
    trkZoom->setTickInterval(5);
    trkZoom->setValue(6);
    for (QWidget* w : std::initializer_list<QWidget*>{chkHiLite, chkGrid})
        w->setFont(arial(11));

    pntMagnify = new TMagnifier(platform_, grpMagnify);
    pntMagnify->setObjectName(QStringLiteral("pntMagnify"));
    pntMagnify->setGeometry(2, 36, 273, 116);
    // The designed properties, in the order the control publishes them.
    pntMagnify->setMagnification(10);
    pntMagnify->setPointSize(1);
    pntMagnify->setHiLite(true);
    pntMagnify->setHiLiteColor(clMaroon);
    pntMagnify->setGrid(false);
    pntMagnify->setGridColor(clNavy);
    pntMagnify->setCurColor(clWhite);
    pntMagnify->setSmooth(false);
    pntMagnify->setCaptureOpaque(false);
    pntMagnify->setFollowMouse(true);

    connect(trkZoom, &QSlider::valueChanged, this, &TfrmMain::trkZoomChange);
    connect(trkPoint, &QSlider::valueChanged, this, &TfrmMain::trkPointChange);
    connect(chkHiLite, &QCheckBox::toggled, this, [this](bool on) {
        pntMagnify->setHiLite(on);
        focusFirstChip();
    });
    connect(chkGrid, &QCheckBox::toggled, this, [this](bool on) {
        pntMagnify->setGrid(on);
        focusFirstChip();
    });
    connect(txtHiLite, &ClickLabel::clicked, this, &TfrmMain::txtHiLiteClick);
    connect(txtGrid, &ClickLabel::clicked, this, &TfrmMain::txtGridClick);
}

void TfrmMain::buildStatusBar()
{
    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    statusBar->setSizeGripEnabled(false);
    statusLink = new ClickLabel(QStringLiteral("More Graphic Arts tools"), statusBar);
    statusLink->setObjectName(QStringLiteral("statusLink"));
    QFont f = arial(11);
    f.setUnderline(true);
    statusLink->setFont(f);
    statusLink->setAlignment(Qt::AlignCenter);
    statusLink->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusLink->setMinimumWidth(100);
    statusLink->setCursor(Qt::PointingHandCursor);
    statusLink->setToolTip(QStringLiteral("Click to find more Graphic Arts tools"));
    QPalette pal = statusLink->palette();
    pal.setColor(QPalette::WindowText, qcolor(kNavy));
    statusLink->setPalette(pal);
    // Placed by layoutPanels rather than the status bar's own layout, whose spacing wants more
    // height than the bar has and squeezes the panel.
}

} // namespace tintara
