// The main window's controls at their places (pixels, each relative to its group) and the menus.

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

QLineEdit* AddTextBox(QWidget* parent, const QString& name, int x, int y, bool readOnly) {
    auto* box = new QLineEdit(QStringLiteral("0"), parent);
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

template <typename Handler>
QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, QRect place,
                       const QFont& font, Handler handler) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(font);
    button->setGeometry(place);
    QObject::connect(button, &QPushButton::clicked, parent, handler);
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

QSlider* AddSlider(QWidget* parent, const QString& name, int x) {
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

void MainWindow::buildLayout() {
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(792, 497);
    client->setFont(UiFont());
    setCentralWidget(client);

    drawingArea_ = new PictureBox(400, 400, true, client);
    drawingArea_->setObjectName("drawingArea");
    drawingArea_->move(0, 0);
    drawingArea_->setCursor(Qt::CrossCursor);
    connect(drawingArea_, &PictureBox::pressed, this, &MainWindow::onDrawingPressed);
    connect(drawingArea_, &PictureBox::moved, this, &MainWindow::onDrawingMoved);
    connect(drawingArea_, &PictureBox::released, this, &MainWindow::onDrawingReleased);
    colorScale_ = new PictureBox(53, 400, true, client);
    colorScale_->setObjectName("colorScale");
    colorScale_->move(408, 0);
    {
        // The strip is narrow: its labels (up to seven characters) take a small face.
        QFont font = colorScale_->Surface().Font();
        font.setPixelSize(9);
        colorScale_->Surface().SetFont(font);
    }

    AddLabel(client, "axisStartLabel", QStringLiteral("0"), 0, 407, 24);
    AddLabel(client, "radiusCaption", tr("Radius"), 168, 407, 60);
    areaSizeLabel_ = AddLabel(client, "areaSizeLabel", QString(), 392, 407, 60);

    QGroupBox* field = AddGroup(client, "fieldGroup", tr("Field, Gauss"), 8, 424, 273, 67);
    AddLabel(field, "bCaption", QStringLiteral("B="), 8, 22, 20);
    fieldB_ = AddLabel(field, "fieldB", QStringLiteral("0"), 28, 22, 58);
    AddLabel(field, "brCaption", QStringLiteral("Br="), 92, 22, 24);
    fieldBr_ = AddLabel(field, "fieldBr", QStringLiteral("0"), 116, 22, 62);
    AddLabel(field, "bzCaption", QStringLiteral("Bz="), 184, 22, 24);
    fieldBz_ = AddLabel(field, "fieldBz", QStringLiteral("0"), 208, 22, 60);
    // Engineering figures: the flux through the probe's circle, on a line of its own.
    AddLabel(field, "fluxCaption", tr("Flux="), 8, 42, 36);
    fieldFlux_ = AddLabel(field, "fieldFlux", QStringLiteral("0"), 44, 42, 120);

    QGroupBox* coordinates =
        AddGroup(client, "coordinatesGroup", tr("Coordinates"), 296, 424, 169, 49);
    AddLabel(coordinates, "rCaption", QStringLiteral("R:"), 8, 22, 16);
    radiusReadout_ = AddLabel(coordinates, "radiusReadout", QStringLiteral("100"), 24, 22, 58);
    AddLabel(coordinates, "zCaption", QStringLiteral("Z:"), 88, 22, 16);
    axialReadout_ = AddLabel(coordinates, "axialReadout", QStringLiteral("100"), 104, 22, 58);

    // The palette: screen order differs from index order ("Magnet N", index 6, is fourth).
    QGroupBox* palette = AddGroup(client, "materialGroup", tr("Material"), 472, 0, 129, 249);
    materialButtons_ = new QButtonGroup(this);
    materialButtons_->setExclusive(true);
    struct PaletteRow {
        int index, top, captionLeft;
    };
    constexpr PaletteRow paletteRows[] = {{0, 24, 48},  {1, 56, 64},  {2, 88, 48}, {6, 120, 48},
                                          {3, 152, 64}, {4, 184, 64}, {5, 216, 48}};
    for (const PaletteRow& row : paletteRows) {
        const MaterialCode material = kPaletteButtons[static_cast<std::size_t>(row.index)];
        const std::string_view label = MaterialLabel(material);
        const QString caption =
            QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
        QToolButton* button =
            AddOptionButton(palette, QStringLiteral("materialButton%1").arg(row.index),
                            ColorIcon(MaterialColor(material)), 16, row.top, QSize(17, 17));
        button->setToolTip(caption);
        materialButtons_->addButton(button, row.index);
        QLabel* text =
            AddLabel(palette, "", caption, row.captionLeft, row.top + 8, 129 - row.captionLeft - 4);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    connect(materialButtons_, &QButtonGroup::idClicked, this, &MainWindow::onMaterialChosen);

    QGroupBox* tools = AddGroup(client, "toolGroup", tr("Drawing"), 472, 256, 129, 57);
    toolButtons_ = new QButtonGroup(this);
    toolButtons_->setExclusive(true);
    const struct {
        DrawTool tool;
        const char* name;
        QString tip;
    } toolRows[] = {{DrawTool::DotTool, "dotToolButton", tr("Dot")},
                    {DrawTool::LineTool, "lineToolButton", tr("Line")},
                    {DrawTool::RectangleTool, "rectangleToolButton", tr("Rectangle")}};
    for (const auto& row : toolRows) {
        const int k = static_cast<int>(row.tool);
        QToolButton* button =
            AddOptionButton(tools, row.name, ToolIcon(row.tool), 8 + 40 * k, 24, QSize(16, 16));
        button->setToolTip(row.tip);
        toolButtons_->addButton(button, k);
    }
    connect(toolButtons_, &QButtonGroup::idClicked, this, &MainWindow::onToolChosen);

    viewGroup_ = AddGroup(client, "viewGroup", tr("Picture"), 472, 320, 129, 121);
    AddButton(viewGroup_, "editorButton", tr("Editor"), QRect(8, 20, 55, 25), UiFont(11, true),
              [this] { onEditor(); });
    AddButton(viewGroup_, "resultButton", tr("Result"), QRect(66, 20, 55, 25), UiFont(11, true),
              [this] { onResult(); });
    drawFieldCheck_ = new QCheckBox(tr("Field"), viewGroup_);
    drawFieldCheck_->setObjectName("drawFieldCheck");
    drawFieldCheck_->setGeometry(10, 56, 110, 20);
    drawFieldCheck_->setChecked(true);
    drawForceLinesCheck_ = new QCheckBox(tr("Force lines"), viewGroup_);
    drawForceLinesCheck_->setObjectName("drawForceLinesCheck");
    drawForceLinesCheck_->setGeometry(10, 82, 110, 20);
    drawForceLinesCheck_->setChecked(true);

    AddButton(client, "runButton", tr("RUN"), QRect(480, 448, 65, 25), UiFont(11, true),
              [this] { onRun(); });
    AddButton(client, "stopButton", tr("Stop"), QRect(552, 456, 41, 17), UiFont(9),
              [this] { onStop(); });

    // The coil panel: a column per coil under its colour key.
    QGroupBox* coilGroup = AddGroup(client, "coilGroup", tr("Coils"), 608, 0, 177, 377);
    AddColorKey(coilGroup, "coil1Key", MaterialColor(MaterialCode::Coil1), 12, 20);
    AddColorKey(coilGroup, "coil2Key", MaterialColor(MaterialCode::Coil2), 99, 20);
    auto* amperes = new VerticalCaption(tr("A m p e r e s"), coilGroup);
    amperes->setObjectName("amperesCaption");
    amperes->setGeometry(80, 40, 17, 166);
    for (int c = 0; c < 2; ++c) {
        CoilColumn& column = coils_[static_cast<std::size_t>(c)];
        column.slider =
            AddSlider(coilGroup, QStringLiteral("currentSlider%1").arg(c + 1), c == 0 ? 30 : 117);
        connect(column.slider, &QSlider::valueChanged, this, [this, c] { onSliderMoved(c); });
    }
    // Four rows under the sliders, each a caption over the two columns' boxes.
    const struct {
        QString caption;
        const char* name;
        QLineEdit* CoilColumn::*box;
    } rows[] = {{tr("current value"), "currentEdit%1", &CoilColumn::current},
                {tr("number of turns"), "turnsBox%1", &CoilColumn::turns},
                {tr("current density "), "densityBox%1", &CoilColumn::density},
                {tr("power"), "powerBox%1", &CoilColumn::power}};
    for (int r = 0; r < 4; ++r) {
        const int top = 216 + 39 * r;
        AddLabel(coilGroup, "", rows[r].caption, 8, top, 161, 15)->setAlignment(Qt::AlignCenter);
        for (int c = 0; c < 2; ++c) {
            coils_[static_cast<std::size_t>(c)].*rows[r].box =
                AddTextBox(coilGroup, QString::fromLatin1(rows[r].name).arg(c + 1),
                           c == 0 ? 12 : 99, top + 15, r > 0);
        }
    }
    for (int c = 0; c < 2; ++c) {
        connect(coils_[static_cast<std::size_t>(c)].current, &QLineEdit::textEdited, this,
                [this, c] { onCurrentEdited(c); });
    }

    QGroupBox* bars = AddGroup(client, "barsGroup", QString(), 608, 376, 177, 97);
    QGroupBox* errorGroup = AddGroup(bars, "errorGroup", tr("Error"), 8, 4, 161, 43);
    errorBar_ = new FloatProgressBar(errorGroup);
    errorBar_->setObjectName("errorBar");
    errorBar_->setGeometry(8, 18, 145, 16);
    QGroupBox* progressGroup = AddGroup(bars, "progressGroup", tr("Progress"), 8, 48, 161, 43);
    progressBar_ = new FloatProgressBar(progressGroup);
    progressBar_->setObjectName("progressBar");
    progressBar_->setGeometry(8, 18, 145, 16);

    buildMenus();
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setFont(UiFont(12));
    auto action = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
    };
    QMenu* file = bar->addMenu(tr("&File"));
    file->setObjectName("fileMenu");
    action(file, "newProjectAction", tr("&New Project"), [this] { onNewProject(); });
    file->addSeparator();
    action(file, "openSampleAction", tr("Open Sa&mple"), [this] { onOpenSample(); });
    file->addSeparator();
    action(file, "openProjectAction", tr("&Open Project"), [this] { onOpenProject(); });
    action(file, "saveProjectAction", tr("&Save Project"), [this] { onSaveProject(); });
    action(file, "exportTextAction", tr("&Export to TEXT"), [this] { onExportText(); });
    file->addSeparator();
    action(file, "printAction", tr("&Print"), [this] { onPrint(); });
    file->addSeparator();
    action(file, "exitAction", tr("E&xit"), [this] { close(); });

    QMenu* copy = bar->addMenu(tr("&Copy"));
    copy->setObjectName("copyMenu");
    action(copy, "copyPictureAction", tr("&Picture"), [this] { onCopyPicture(); });
    action(copy, "copyScaleAction", tr("&Scale"), [this] { onCopyScale(); });
    action(copy, "copyZAction", tr("&Z distribution"),
           [this] { onCopyDistribution(GraphAxis::Z); });
    action(copy, "copyRAction", tr("&R distribution"),
           [this] { onCopyDistribution(GraphAxis::R); });
    action(copy, "copyFiguresAction", tr("&Figures"), [this] { onCopyFigures(); });
    buildViewMenus(bar);

    QAction* options = bar->addAction(tr("&Options"));
    options->setObjectName("optionsAction");
    connect(options, &QAction::triggered, this, &MainWindow::onOptions);
    QAction* figures = bar->addAction(tr("F&igures"));
    figures->setObjectName("figuresAction");
    connect(figures, &QAction::triggered, this, &MainWindow::onShowFigures);
    QAction* help = bar->addAction(tr("&Help"));
    help->setObjectName("helpAction");
    connect(help, &QAction::triggered, this, &MainWindow::onHelp);

    // The Edit menu between File and Copy, Save Picture, Open Recent, the shortcuts.
    buildDesktopCommands(bar, file);
}

}  // namespace tesvid
