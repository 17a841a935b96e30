// The main window's controls at their places (pixels, each relative to its group).

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "app/main_window.h"
#include "app/vertical_caption.h"
#include "model/material_code.h"
#include "platform/float_progress_bar.h"
#include "platform/picture_box.h"
#include "platform/ui_font.h"

namespace tesvid {
namespace {

QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QGroupBox* AddGroup(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                    int h) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    group->setGeometry(x, y, w, h);
    return group;
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                 int h = 16) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(x, y, w, h);
    return label;
}

QLineEdit* AddTextBox(QWidget* parent, const char* name, const QString& text, int x, int y,
                      bool readOnly) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setGeometry(x, y, 66, 20);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (readOnly) {
        box->setReadOnly(true);
        QPalette shaded = box->palette();
        shaded.setColor(QPalette::Base, shaded.color(QPalette::Window));
        box->setPalette(shaded);
        box->setFocusPolicy(Qt::ClickFocus);
    }
    return box;
}

// A palette button's face: the material's colour in a thin dark frame.
QIcon ColorIcon(Rgb c) {
    QPixmap pixmap(17, 17);
    pixmap.fill(ToQColor(c));
    QPainter painter(&pixmap);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(0, 0, 16, 16);
    return QIcon(pixmap);
}

// The tool icons, 16 x 16: a 3 x 3 dot in the middle, a line rising from bottom left to top
// right, a filled rectangle.
QIcon ToolIcon(DrawTool tool) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QColor ink(0, 0, 0);
    switch (tool) {
        case DrawTool::DotTool:
            painter.fillRect(7, 7, 3, 3, ink);
            break;
        case DrawTool::LineTool:
            painter.setPen(QPen(ink, 2));
            painter.drawLine(2, 13, 13, 2);
            break;
        case DrawTool::RectangleTool:
            painter.fillRect(3, 4, 10, 8, ink);
            break;
    }
    return QIcon(pixmap);
}

QToolButton* AddOptionButton(QWidget* parent, const QString& name, QIcon icon, int x, int y,
                             QSize iconSize) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setIcon(icon);
    button->setIconSize(iconSize);
    button->setGeometry(x, y, 25, 25);
    return button;
}

QFrame* AddColorKey(QWidget* parent, const char* name, Rgb c, int x, int y) {
    auto* key = new QFrame(parent);
    key->setObjectName(name);
    key->setFrameStyle(QFrame::Box | QFrame::Plain);
    key->setAutoFillBackground(true);
    QPalette palette = key->palette();
    palette.setColor(QPalette::Window, ToQColor(c));
    palette.setColor(QPalette::WindowText, QColor(0, 0, 0));
    key->setPalette(palette);
    key->setGeometry(x, y, 66, 10);
    return key;
}

QSlider* AddSlider(QWidget* parent, const char* name, int x) {
    auto* slider = new QSlider(Qt::Vertical, parent);
    slider->setObjectName(name);
    slider->setRange(0, 100);
    // Position 0 at the top end, 100 at the bottom; the keys and the wheel move the handle
    // the way they point.
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setSingleStep(1);
    slider->setPageStep(10);
    slider->setTickPosition(QSlider::TicksRight);
    slider->setTickInterval(10);
    slider->setValue(100);
    slider->setGeometry(x, 34, 30, 178);
    return slider;
}

}  // namespace

void MainWindow::BuildLayout() {
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(792, 479);
    client->setFont(UiFont());
    setCentralWidget(client);

    Picture1 = new PictureBox(400, 400, true, client);
    Picture1->setObjectName("Picture1");
    Picture1->move(0, 0);
    Picture1->setCursor(Qt::CrossCursor);
    Picture3 = new PictureBox(53, 400, true, client);
    Picture3->setObjectName("Picture3");
    Picture3->move(408, 0);
    {
        // The strip is narrow: its labels (up to seven characters) take a small face.
        QFont font = Picture3->Surface().Font();
        font.setPixelSize(9);
        Picture3->Surface().SetFont(font);
    }

    Label2 = AddLabel(client, "Label2", "0", 0, 407, 24);
    Label3 = AddLabel(client, "Label3", "Radius", 168, 407, 60);
    Label4 = AddLabel(client, "Label4", "100", 392, 407, 60);

    Frame9 = AddGroup(client, "Frame9", "Field, Gauss", 8, 424, 273, 49);
    AddLabel(Frame9, "Label13", "B=", 8, 22, 20);
    LabelB = AddLabel(Frame9, "LabelB", "0", 28, 22, 58);
    AddLabel(Frame9, "Label15", "Br=", 92, 22, 24);
    LabelBr = AddLabel(Frame9, "LabelBr", "0", 116, 22, 62);
    AddLabel(Frame9, "Label17", "Bz=", 184, 22, 24);
    LabelBz = AddLabel(Frame9, "LabelBz", "0", 208, 22, 60);

    Frame3 = AddGroup(client, "Frame3", "Coordinates", 296, 424, 169, 49);
    AddLabel(Frame3, "Label5", "R:", 8, 22, 16);
    CoR = AddLabel(Frame3, "CoR", "100", 24, 22, 58);
    AddLabel(Frame3, "Label6", "Z:", 88, 22, 16);
    CoZ = AddLabel(Frame3, "CoZ", "100", 104, 22, 58);

    // The palette: screen order differs from index order ("Magnet N", index 6, is fourth).
    Frame2 = AddGroup(client, "Frame2", "Material", 472, 0, 129, 249);
    colorGroup_ = new QButtonGroup(this);
    colorGroup_->setExclusive(true);
    struct PaletteRow {
        int index, top, captionLeft;
    };
    constexpr PaletteRow rows[] = {{0, 24, 48},  {1, 56, 64},  {2, 88, 48}, {6, 120, 48},
                                   {3, 152, 64}, {4, 184, 64}, {5, 216, 48}};
    for (const PaletteRow& row : rows) {
        const MaterialCode material = kPaletteButtons[static_cast<std::size_t>(row.index)];
        QToolButton* button =
            AddOptionButton(Frame2, QStringLiteral("OptionColor(%1)").arg(row.index),
                            ColorIcon(MaterialColor(material)), 16, row.top, QSize(17, 17));
        button->setToolTip(
            QString::fromUtf8(MaterialLabel(material).data(),
                              static_cast<qsizetype>(MaterialLabel(material).size())));
        colorGroup_->addButton(button, row.index);
        OptionColor[static_cast<std::size_t>(row.index)] = button;
        QLabel* caption = new QLabel(button->toolTip(), Frame2);
        caption->setObjectName(QStringLiteral("Label1(%1)").arg(row.index));
        caption->setGeometry(row.captionLeft, row.top + 8, 129 - row.captionLeft - 4, 16);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Label1[static_cast<std::size_t>(row.index)] = caption;
    }

    Frame1 = AddGroup(client, "Frame1", "Drawing", 472, 256, 129, 57);
    toolGroup_ = new QButtonGroup(this);
    toolGroup_->setExclusive(true);
    const char* toolTips[] = {"Dot", "Line", "Rectangle"};
    for (int k = 0; k < 3; ++k) {
        QToolButton* button =
            AddOptionButton(Frame1, QStringLiteral("Option1(%1)").arg(k),
                            ToolIcon(static_cast<DrawTool>(k)), 8 + 40 * k, 24, QSize(16, 16));
        button->setToolTip(toolTips[k]);
        toolGroup_->addButton(button, k);
        Option1[static_cast<std::size_t>(k)] = button;
    }

    Frame8 = AddGroup(client, "Frame8", "Picture", 472, 320, 129, 121);
    Command1 = new QPushButton("Editor", Frame8);
    Command1->setObjectName("Command1");
    Command1->setFont(UiFont(11, true));
    Command1->setGeometry(8, 20, 55, 25);
    CommandResult = new QPushButton("Result", Frame8);
    CommandResult->setObjectName("CommandResult");
    CommandResult->setFont(UiFont(11, true));
    CommandResult->setGeometry(66, 20, 55, 25);
    CheckDrawField = new QCheckBox("Field", Frame8);
    CheckDrawField->setObjectName("CheckDrawField");
    CheckDrawField->setGeometry(10, 56, 110, 20);
    CheckDrawField->setChecked(true);
    CheckDrawForceLines = new QCheckBox("Force lines", Frame8);
    CheckDrawForceLines->setObjectName("CheckDrawForceLines");
    CheckDrawForceLines->setGeometry(10, 82, 110, 20);
    CheckDrawForceLines->setChecked(true);

    Finish = new QPushButton("RUN", client);
    Finish->setObjectName("Finish");
    Finish->setFont(UiFont(11, true));
    Finish->setGeometry(480, 448, 65, 25);
    CommandStop = new QPushButton("Stop", client);
    CommandStop->setObjectName("CommandStop");
    CommandStop->setFont(UiFont(9));
    CommandStop->setGeometry(552, 456, 41, 17);

    // The coil panel: a column per coil under its colour key.
    Frame7 = AddGroup(client, "Frame7", "Coils", 608, 0, 177, 377);
    Shape1 = AddColorKey(Frame7, "Shape1", MaterialColor(MaterialCode::Coil1), 12, 20);
    Shape2 = AddColorKey(Frame7, "Shape2", MaterialColor(MaterialCode::Coil2), 99, 20);
    Slider1 = AddSlider(Frame7, "Slider1", 30);
    Slider2 = AddSlider(Frame7, "Slider2", 117);
    auto* amperes = new VerticalCaption("A m p e r e s", Frame7);
    amperes->setObjectName("Label7");
    amperes->setGeometry(80, 40, 17, 166);
    struct CoilRow {
        const char* caption;
        const char* name1;
        const char* name2;
        bool readOnly;
        const char* start;
    };
    const CoilRow coilRows[] = {
        {"current value", "TextCurrent1", "TextCurrent2", false, "10"},
        {"number of turns", "TextVit1", "TextVit2", true, "0"},
        {"current density ", "TextCurDens1", "TextCurDens2", true, "0"},
        {"power", "TextPower1", "TextPower2", true, "0"},
    };
    QLineEdit** boxes[4][2] = {{&TextCurrent1, &TextCurrent2},
                               {&TextVit1, &TextVit2},
                               {&TextCurDens1, &TextCurDens2},
                               {&TextPower1, &TextPower2}};
    for (int r = 0; r < 4; ++r) {
        const int top = 216 + 39 * r;
        QLabel* caption = new QLabel(coilRows[r].caption, Frame7);
        caption->setGeometry(8, top, 161, 15);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        *boxes[r][0] = AddTextBox(Frame7, coilRows[r].name1, coilRows[r].start, 12, top + 15,
                                  coilRows[r].readOnly);
        *boxes[r][1] = AddTextBox(Frame7, coilRows[r].name2, coilRows[r].start, 99, top + 15,
                                  coilRows[r].readOnly);
    }

    Frame6 = AddGroup(client, "Frame6", "", 608, 376, 177, 97);
    Frame5 = AddGroup(Frame6, "Frame5", "Error", 8, 4, 161, 43);
    ProgressError = new FloatProgressBar(Frame5);
    ProgressError->setObjectName("ProgressError");
    ProgressError->setGeometry(8, 18, 145, 16);
    Frame4 = AddGroup(Frame6, "Frame4", "Progress", 8, 48, 161, 43);
    ProgressProgress = new FloatProgressBar(Frame4);
    ProgressProgress->setObjectName("ProgressProgress");
    ProgressProgress->setGeometry(8, 18, 145, 16);

    BuildMenus();
}

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setFont(UiFont(12));
    auto action = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    mnuFile = bar->addMenu("File");
    mnuFile->setObjectName("mnuFile");
    mnuFileNew = action(mnuFile, "mnuFileNew", "New Project");
    mnuFile->addSeparator()->setObjectName("a");
    mnuFileSample = action(mnuFile, "mnuFileSample", "Open Sample");
    mnuFile->addSeparator()->setObjectName("a1");
    mnuFileOpen = action(mnuFile, "mnuFileOpen", "Open Project");
    mnuFileSave = action(mnuFile, "mnuFileSave", "Save Project");
    mnuFileExportText = action(mnuFile, "mnuFileExportText", "Export to TEXT");
    mnuFile->addSeparator()->setObjectName("a2");
    mnuFilePrint = action(mnuFile, "mnuFilePrint", "Print");
    mnuFile->addSeparator()->setObjectName("a3");
    mnuFileExit = action(mnuFile, "mnuFileExit", "Exit");

    mnuCopy = bar->addMenu("Copy");
    mnuCopy->setObjectName("mnuCopy");
    mnuCopyPicture = action(mnuCopy, "mnuCopyPicture", "Picture");
    mnuCopyScale = action(mnuCopy, "mnuCopyScale", "Scale");
    mnuCopyZ = action(mnuCopy, "mnuCopyZ", "Z distribution");
    mnuCopyR = action(mnuCopy, "mnuCopyR", "R distribution");

    mnuOptions = bar->addAction("Options");
    mnuOptions->setObjectName("mnuOptions");
    mnuHelp = bar->addAction("Help");
    mnuHelp->setObjectName("mnuHelp");
}

void MainWindow::ConnectControls() {
    connect(Picture1, &PictureBox::mouseDown, this,
            [this](int b, int s, float x, float y) { Picture1_MouseDown(b, s, x, y); });
    connect(Picture1, &PictureBox::mouseMove, this,
            [this](int b, int s, float x, float y) { Picture1_MouseMove(b, s, x, y); });
    connect(Picture1, &PictureBox::mouseUp, this,
            [this](int b, int s, float x, float y) { Picture1_MouseUp(b, s, x, y); });
    connect(colorGroup_, &QButtonGroup::idClicked, this, [this](int id) { OptionColor_Click(id); });
    connect(toolGroup_, &QButtonGroup::idClicked, this, [this](int id) { Option1_Click(id); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(CommandResult, &QPushButton::clicked, this, [this] { CommandResult_Click(); });
    connect(Finish, &QPushButton::clicked, this, [this] { Finish_Click(); });
    connect(CommandStop, &QPushButton::clicked, this, [this] { CommandStop_Click(); });
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider_Change(1); });
    connect(Slider2, &QSlider::valueChanged, this, [this] { Slider_Change(2); });
    connect(mnuFileNew, &QAction::triggered, this, [this] { mnuFileNew_Click(); });
    // The file commands would replace or read the arrays a running calculation works on: they
    // wait until it has ended (Stop ends it).
    auto unlessCalculating = [this](void (MainWindow::*command)()) {
        return [this, command] {
            if (!calculating_) {
                (this->*command)();
            }
        };
    };
    connect(mnuFileSample, &QAction::triggered, this,
            unlessCalculating(&MainWindow::mnuFileSample_Click));
    connect(mnuFileOpen, &QAction::triggered, this,
            unlessCalculating(&MainWindow::mnuFileOpen_Click));
    connect(mnuFileSave, &QAction::triggered, this,
            unlessCalculating(&MainWindow::mnuFileSave_Click));
    connect(mnuFileExportText, &QAction::triggered, this,
            unlessCalculating(&MainWindow::mnuFileExportText_Click));
    connect(mnuFilePrint, &QAction::triggered, this,
            unlessCalculating(&MainWindow::mnuFilePrint_Click));
    connect(mnuFileExit, &QAction::triggered, this, [this] { mnuFileExit_Click(); });
    connect(mnuCopyPicture, &QAction::triggered, this, [this] { mnuCopyPicture_Click(); });
    connect(mnuCopyScale, &QAction::triggered, this, [this] { mnuCopyScale_Click(); });
    connect(mnuCopyZ, &QAction::triggered, this, [this] { mnuCopyZ_Click(); });
    connect(mnuCopyR, &QAction::triggered, this, [this] { mnuCopyR_Click(); });
    connect(mnuOptions, &QAction::triggered, this, [this] { mnuOptions_Click(); });
    connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
}

}  // namespace tesvid
