#include "app/Main.h"

#include "app/core/AtomicFile.h"
#include "app/core/ColorDisplay.h"
#include "app/core/IntegerText.h"
#include "app/core/PanelState.h"
#include "colormodel/ColorNames.h"
#include "magnifier/Magnifier.h"
#include "palettes/PaletteRules.h"
#include "pickers/HColorPicker.h"
#include "pickers/HSLColorPicker.h"
#include "pickers/HexaColorPicker.h"
#include "pickers/SColorPicker.h"
#include "pickers/SLHColorPicker.h"
#include "pickers/VColorPicker.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScopeGuard>
#include <QSlider>
#include <QStatusBar>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindowStateChangeEvent>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace tintara {

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

constexpr int kDesignedWidth = 295;
constexpr int kDesignedHeight = 603;
constexpr int kStatusBarHeight = 17;
constexpr int kBorder = 1; // the window's BorderWidth
constexpr int kBoxMargin = 4;
constexpr TColor kNavy = 0x800000;
constexpr char kStatusLinkUrl[] = "https://tintara.example.org/graphic-arts-tools";
constexpr char kErrorItem[] = "Error loading Palettes.xml";

QColor qcolor(TColor c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}
TColor tcolor(const QColor& c)
{
    return rgbColor(c.red(), c.green(), c.blue());
}

QFont arial(int pixelHeight, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    return f;
}

// The displays are rewritten up to a hundred times a second: a control is only touched when what it
// shows changes, so a still cursor repaints nothing and a caret in an unchanged field stays put.
void setTextIfChanged(QLineEdit* edit, QLatin1StringView text)
{
    if (edit->text() == text)
        return;
    edit->setText(QString(text));
    edit->setCursorPosition(0); // a rewritten field has its caret at the start
}

void setTextIfChanged(QLabel* label, QLatin1StringView text)
{
    if (label->text() != text)
        label->setText(QString(text));
}

void setLabelColors(QLabel* label, TColor background, TColor text)
{
    QPalette pal = label->palette();
    const QColor bg = qcolor(background);
    const QColor fg = qcolor(text);
    if (pal.color(QPalette::Window) == bg && pal.color(QPalette::WindowText) == fg)
        return;
    pal.setColor(QPalette::Window, bg);
    pal.setColor(QPalette::WindowText, fg);
    label->setPalette(pal);
}

QLatin1StringView decimalText(char* buf, std::size_t size, long long value)
{
    const int n = std::snprintf(buf, size, "%lld", value);
    return QLatin1StringView(buf, n);
}

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

QLineEdit* flatEdit(QWidget* parent, const char* name, int maxLength)
{
    auto* e = new QLineEdit(parent);
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

    timTintara = new QTimer(this);
    timTintara->setObjectName(QStringLiteral("timTintara"));
    timTintara->setInterval(10);
    connect(timTintara, &QTimer::timeout, this, &TfrmMain::timTintaraTimer);
    timTintara->start();

    for (QLineEdit* edit : {txtRGB, txtDecRGB, txtHue, txtSaturation, txtValue, txtDecR, txtDecG, txtDecB})
        connect(edit, &QLineEdit::textEdited, this, &TfrmMain::markDisplaysEdited);
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
    lblCtrlH = new QLabel(QStringLiteral("starting Tintara..."), grpChips);
    lblCtrlH->setObjectName(QStringLiteral("lblCtrlH"));
    lblCtrlH->setGeometry(11, 80, 254, 12);
    lblCtrlH->setAlignment(Qt::AlignCenter);
    lblCtrlH->setFont(arial(9));
    lblCtrlH->setAutoFillBackground(true);
    statusBackground_ = tcolor(palette().color(QPalette::Button));
    setLabelColors(lblCtrlH, statusBackground_, kNavy);
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
    QLineEdit* edits[6];
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
    QLabel* values[4];
    for (int i = 0; i < 4; ++i) {
        plainLabel(panCMYK, QLatin1String(cmykCaptions[i]), 0, i * 17, 14, 14);
        values[i] = plainLabel(panCMYK, QString(), 14, i * 17, 22, 14);
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
    timTintara->stop();
    setWindowIconText(QStringLiteral("Tintara"));
}

void TfrmMain::ApplicationRestore()
{
    restoreTitle_ = true;
    timTintara->start();
}

// ---------------------------------------------------------------------------------------------
// Layout of the five boxes: the top four keep their heights, the Magnify box takes the rest.

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutPanels();
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
    timTintara->stop();
    // Any other error goes on to the application's error box; the loop must not stop with it.
    const auto restart = qScopeGuard([this] {
        if (!closed_ && !timTintara->isActive())
            timTintara->start();
    });
    try {
        SampleCurrentColor();
        RefreshDisplays(false);
    } catch (const CursorPosError&) {
        // The cursor could not be read (it is on another screen): try again next tick.
    }
    if (restoreTitle_) {
        // Minimising put the application title back to "Tintara"; a still cursor rewrites nothing.
        restoreTitle_ = false;
        if (windowIconText() != windowTitle())
            setWindowIconText(windowTitle());
    }
    if (!closed_)
        timTintara->start();
    updateStatusLabel();
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
        return;
    }
    int r = redOf(statusBackground_);
    if (r > 200)
        pulseStep_ = -2;
    if (r < 140)
        pulseStep_ = 2;
    r = (r + pulseStep_) & 0xFF;
    statusBackground_ = rgbColor(r, 0, 0);
    setLabelColors(lblCtrlH, statusBackground_, clWhite);
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
    const auto red = pntMagnify->Red();
    const auto green = pntMagnify->Green();
    const auto blue = pntMagnify->Blue();
    char buf[32];
    setTextIfChanged(txtDecB, decimalText(buf, sizeof buf, blue));
    setTextIfChanged(txtDecG, decimalText(buf, sizeof buf, green));
    setTextIfChanged(txtDecR, decimalText(buf, sizeof buf, red));
    setTextIfChanged(txtDecRGB, decimalText(buf, sizeof buf, pntMagnify->CurColor()));
    char hex[7];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", red & 0xFFu, green & 0xFFu, blue & 0xFFu);
    setTextIfChanged(txtRGB, QLatin1StringView(hex, 6));

    const TColor chip = static_cast<TColor>(red + 256 * green + 65536 * blue);
    chips_.setColor(cur, chip);
    paintChip(cur);

    const bool webSafe = pntMagnify->WebSafe();
    cmdSnap->setVisible(chips_.chip(cur).locked && !webSafe);
    // The name, and "WebSafe" two lines below it (a label breaks lines at "\n").
    char caption[64];
    const int n = std::snprintf(caption, sizeof caption, webSafe ? "%s\n\nWebSafe" : "%s", pntMagnify->ColorName());
    setTextIfChanged(txtColorCurrent, QLatin1StringView(caption, n));
    setLabelColors(txtColorCurrent, chip, pntMagnify->DarkColor() ? clWhite : clBlack);

    char title[24];
    const int tn = std::snprintf(title, sizeof title, "Tintara - %s", hex);
    const QLatin1StringView titleView(title, tn);
    if (windowTitle() != titleView || windowIconText() != titleView) {
        const QString t(titleView);
        setWindowTitle(t);
        setWindowIconText(t); // the application title: what a taskbar shows for the window
    }

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
    setTextIfChanged(txtHue, decimalText(buf, sizeof buf, HueColorPicker->Hue()));
    setTextIfChanged(txtSaturation, decimalText(buf, sizeof buf, SatColorPicker->Saturation()));
    setTextIfChanged(txtValue, decimalText(buf, sizeof buf, ValColorPicker->Value()));
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
    setTextIfChanged(lblCyan, decimalText(buf, sizeof buf, cmyk.C));
    setTextIfChanged(lblYellow, decimalText(buf, sizeof buf, cmyk.Y));
    setTextIfChanged(lblMagenta, decimalText(buf, sizeof buf, cmyk.M));
    setTextIfChanged(lblBlack, decimalText(buf, sizeof buf, cmyk.K));
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
    for (QLineEdit* field : {txtDecR, txtDecG, txtDecB}) {
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
    const std::optional<int> r = parseChannelEntry(txtDecR->text().toStdString());
    const std::optional<int> g = parseChannelEntry(txtDecG->text().toStdString());
    const std::optional<int> b = parseChannelEntry(txtDecB->text().toStdString());
    if (r && g && b)
        setCurrentChipColorAndRefresh(rgbColor(*r, *g, *b));
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

// ---------------------------------------------------------------------------------------------
// Palettes

bool TfrmMain::guardedPalette(const std::function<void()>& steps)
{
    try {
        if (!paletteDocument_)
            throw std::runtime_error("no palette document");
        steps();
        return true;
    } catch (const std::exception&) {
        ShowPaletteError();
        return false;
    }
}

void TfrmMain::ShowPaletteError()
{
    cboPalettes->clear();
    cboPalettes->addItem(QLatin1String(kErrorItem));
    cboPalettes->setCurrentIndex(0);
    if (!paletteReadError_.isEmpty()) {
        // Without a document the error item stays for the whole run, so the closed list shows why too.
        cboPalettes->setItemData(0, paletteReadError_, Qt::ToolTipRole);
        cboPalettes->setToolTip(paletteReadError_);
    }
}

void TfrmMain::LoadPaletteList()
{
    guardedPalette([this] {
        cboPalettes->clear();
        for (const std::string& name : paletteNames(*paletteDocument_))
            cboPalettes->addItem(QString::fromStdString(name));
        if (cboPalettes->count() > 0)
            cboPalettes->setCurrentIndex(0);
        LoadPaletteIntoChips();
    });
}

void TfrmMain::LoadPaletteIntoChips()
{
    guardedPalette([this] {
        ClearChips();
        const PaletteLoadResult result = loadPalette(*paletteDocument_, cboPalettes->currentText().toStdString());
        for (const PaletteChipColor& entry : result.colors) {
            SelectChip(entry.chip);
            chips_.setCurrentColor(entry.color);
            SetChipLocked(true);
        }
        SelectChip(result.currentChip);
        if (!result.ok())
            throw std::runtime_error(*result.error);
    });
}

void TfrmMain::StoreChipsInPalette()
{
    guardedPalette(
        [this] { storeColors(*paletteDocument_, cboPalettes->currentText().toStdString(), chips_.lockedColors()); });
}

bool TfrmMain::SavePaletteFile()
{
    if (!paletteDocument_) {
        ShowPaletteError(); // nothing to write; an existing file stays as it is
        return true;
    }
    std::string error;
    std::string bytes;
    if (!guardedPalette([&] { bytes = paletteDocument_->serialize(); }))
        return true; // the serialiser failed: the error item shows, and the file is left as it was
    if (!writeFileAtomically(env_.palettePath, bytes, &error)) {
        if (env_.showError)
            env_.showError(this, QString::fromStdString(error));
        return false;
    }
    return true;
}

void TfrmMain::cboPalettesEnter()
{
    StoreChipsInPalette();
    SavePaletteFile();
}

void TfrmMain::cboPalettesChange()
{
    LoadPaletteIntoChips();
    focusFirstChip();
}

void TfrmMain::cmdNewClick()
{
    StoreChipsInPalette();
    if (!SavePaletteFile())
        return;
    const std::optional<QString> text =
        env_.inputBox ? env_.inputBox(this, QStringLiteral("Enter a name for the new Palette"), QString())
                      : std::nullopt;
    if (!text)
        return;
    QString name = QString::fromStdString(paletteNameFromInput(text->toStdString()));
    guardedPalette([&] { newPalette(*paletteDocument_, text->toStdString()); });
    if (!SavePaletteFile())
        return;
    cboPalettes->addItem(name);
    cboPalettes->setCurrentIndex(cboPalettes->count() - 1);
    ClearChips();
    focusFirstChip();
}

void TfrmMain::cmdEditClick()
{
    const QString selected = cboPalettes->currentText();
    const std::optional<QString> text =
        env_.inputBox ? env_.inputBox(this, QStringLiteral("Enter a new name for the Palette"), selected)
                      : std::nullopt;
    if (cboPalettes->currentIndex() < 0) {
        focusFirstChip(); // nothing selected: nothing to rename, and the list stays as it was
        return;
    }
    QString shown = selected;
    if (text) {
        guardedPalette([&] { renamePalettes(*paletteDocument_, selected.toStdString(), text->toStdString()); });
        if (!SavePaletteFile())
            return;
        shown = QString::fromStdString(paletteNameFromInput(text->toStdString()));
    }
    cboPalettes->setItemText(cboPalettes->currentIndex(), shown);
    cboPalettes->setCurrentIndex(cboPalettes->currentIndex());
    focusFirstChip();
}

void TfrmMain::cmdDeleteClick()
{
    StoreChipsInPalette();
    if (!SavePaletteFile())
        return;
    guardedPalette([this] { deletePalettes(*paletteDocument_, cboPalettes->currentText().toStdString()); });
    if (!SavePaletteFile())
        return;
    LoadPaletteList();
    focusFirstChip();
}

} // namespace tintara
