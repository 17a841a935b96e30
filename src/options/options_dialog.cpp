#include "options/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "model/number_format.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "platform/number_text.h"
#include "platform/settings_store.h"
#include "platform/ui_font.h"
#include "solver/drawn_model.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

// Sections of the settings store that are not a group of text fields, under their stored names.
const QString kCommentsSection = QStringLiteral("frmComments");
const QString kSwitchesSection = QStringLiteral(
    "frm"
    "Options");  // the dialog's own section
const QString kGridSection = QStringLiteral("Grid");

constexpr int kGridCount = static_cast<int>(std::size(kGridSizes));

int GridIndex(int gridSize) {
    const auto* found = std::find(std::begin(kGridSizes), std::end(kGridSizes), gridSize);
    Q_ASSERT(found != std::end(kGridSizes));
    return found == std::end(kGridSizes) ? 0 : static_cast<int>(found - std::begin(kGridSizes));
}

QGroupBox* AddGroup(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                    int h) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    group->setGeometry(x, y, w, h);
    return group;
}

QLabel* AddLabel(QWidget* group, const QString& text, int x, int y, int w, int h = 16) {
    auto* label = new QLabel(text, group);
    label->setGeometry(x, y, w, h);
    return label;
}

// The comment as the dialog shows it (line feeds) and as the project holds it (CR LF,
// kCommentLength ISO 8859-1 characters padded with spaces; other characters become "?").
QString CommentForDisplay(const std::string& stored) {
    QString text = QString::fromLatin1(stored.data(), static_cast<qsizetype>(stored.size()));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::string CommentForProject(QString text) {
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    std::string bytes = text.left(kCommentLength).toLatin1().toStdString();
    bytes.resize(kCommentLength, ' ');
    return bytes;
}

}  // namespace

OptionsDialog::OptionsDialog(Dialogs& dialogs, HelpViewer& help, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), help_(help) {
    setObjectName("optionsDialog");
    setWindowTitle(tr("Options"));
    setFont(UiFont());
    setModal(true);
    buildLayout();
    setFixedSize(480, 426);
    fill(FirstStartProject(), ViewOptions{});
    for (TextField& field : fields_) {
        field.firstStart = field.edit->text();
    }
}

QLineEdit* OptionsDialog::addEdit(QWidget* group, const char* name, int x, int y, int w) {
    auto* edit = new QLineEdit(group);
    edit->setObjectName(name);
    edit->setGeometry(x, y, w, 20);
    return edit;
}

void OptionsDialog::buildLayout() {
    // Positions in pixels, controls relative to their group.
    QGroupBox* grid = AddGroup(this, "gridGroup", tr("Grid"), 16, 8, 113, 137);
    gridCombo_ = new QComboBox(grid);
    gridCombo_->setObjectName("gridCombo");
    gridCombo_->setGeometry(12, 22, 89, 22);
    for (int n : kGridSizes) {
        gridCombo_->addItem(QStringLiteral("%1x%1").arg(n));
    }
    AddLabel(grid, tr("Dimension mm"), 12, 52, 89);
    areaSize_ = addEdit(grid, "areaSizeEdit", 12, 68, 89);
    AddLabel(grid, tr("Step, mm"), 12, 100, 52);
    gridStep_ = AddLabel(grid, QString(), 64, 100, 44);
    gridStep_->setObjectName("gridStepLabel");

    QGroupBox* jacobi = AddGroup(this, "jacobiGroup", tr("Jacobi radius"), 144, 8, 105, 137);
    AddLabel(jacobi, tr("initial"), 10, 30, 40);
    initialRadius_ = addEdit(jacobi, "initialRadiusEdit", 50, 28, 45);
    AddLabel(jacobi, tr("main"), 10, 66, 40);
    mainRadius_ = addEdit(jacobi, "mainRadiusEdit", 50, 64, 45);
    AddLabel(jacobi, tr("final"), 10, 102, 40);
    finalRadius_ = addEdit(jacobi, "finalRadiusEdit", 50, 100, 45);

    QGroupBox* misc = AddGroup(this, "miscGroup", tr("Miscellaneous"), 272, 8, 193, 137);
    AddLabel(misc, tr("Number of passes          (norm: 10)"), 10, 18, 112, 30)->setWordWrap(true);
    passes_ = addEdit(misc, "passesEdit", 136, 24, 47);
    AddLabel(misc, tr("Mu relaxation factor"), 10, 56, 124);
    reluctivityRelaxation_ = addEdit(misc, "reluctivityRelaxationEdit", 136, 54, 47);
    AddLabel(misc, tr("Print scale"), 10, 84, 90);
    AddLabel(misc, QStringLiteral("1 : "), 114, 84, 20);
    printScale_ = addEdit(misc, "printScaleEdit", 136, 82, 47);
    AddLabel(misc, tr("Force line step"), 10, 112, 124);
    lineStep_ = addEdit(misc, "lineStepEdit", 136, 110, 47);

    QGroupBox* iron = AddGroup(this, "ironGroup", tr("Iron"), 16, 152, 113, 89);
    AddLabel(iron, tr("Mu:"), 10, 30, 44);
    ironMu_ = addEdit(iron, "ironMuEdit", 56, 28, 47);
    AddLabel(iron, tr("Br, Tesla"), 10, 60, 46);
    ironSaturation_ = addEdit(iron, "ironSaturationEdit", 56, 58, 47);

    QGroupBox* coils = AddGroup(this, "coilsGroup", tr("Coils"), 144, 152, 209, 89);
    AddLabel(coils, QStringLiteral("1"), 114, 16, 40)->setAlignment(Qt::AlignCenter);
    AddLabel(coils, QStringLiteral("2"), 160, 16, 40)->setAlignment(Qt::AlignCenter);
    AddLabel(coils, tr("Wire diameter, mm"), 10, 36, 102);
    wireDiameter1_ = addEdit(coils, "wireDiameter1Edit", 114, 34, 40);
    wireDiameter2_ = addEdit(coils, "wireDiameter2Edit", 160, 34, 40);
    AddLabel(coils, tr("Max current"), 10, 62, 102);
    maxCurrent1_ = addEdit(coils, "maxCurrent1Edit", 114, 60, 40);
    maxCurrent2_ = addEdit(coils, "maxCurrent2Edit", 160, 60, 40);

    QGroupBox* magnet = AddGroup(this, "magnetGroup", tr("Magnet"), 16, 248, 113, 121);
    AddLabel(magnet, tr("Br, Tesla"), 10, 26, 56);
    magnetBr_ = addEdit(magnet, "magnetBrEdit", 66, 24, 39);
    AddLabel(magnet, tr("BHmax, kJ/m3"), 10, 52, 54, 30)->setWordWrap(true);
    magnetBHmax_ = addEdit(magnet, "magnetBHmaxEdit", 66, 57, 39);
    AddLabel(magnet, tr("Hc, kA/m"), 10, 92, 56);
    magnetHc_ = addEdit(magnet, "magnetHcEdit", 66, 90, 39);

    QGroupBox* comments = AddGroup(this, "commentsGroup", tr("Comments"), 144, 248, 209, 121);
    comments_ = new QPlainTextEdit(comments);
    comments_->setObjectName("commentsEdit");
    comments_->setGeometry(16, 24, 177, 81);
    comments_->setTabChangesFocus(true);

    showIntermediate_ = new QCheckBox(tr("Show intermediate results"), this);
    showIntermediate_->setObjectName("showIntermediateCheck");
    showIntermediate_->setGeometry(16, 384, 164, 20);
    showCrossSections_ = new QCheckBox(tr("Show coordinate distributions"), this);
    showCrossSections_->setObjectName("showCrossSectionsCheck");
    showCrossSections_->setGeometry(184, 384, 190, 20);
    // Print: the colour map, its scale and the force lines instead of the line drawing.
    colorReport_ = new QCheckBox(tr("Colour report"), this);
    colorReport_->setObjectName("colorReportCheck");
    colorReport_->setGeometry(368, 160, 100, 20);

    auto addButton = [this](const char* name, const QString& caption, int y) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setGeometry(384, y, 73, 25);
        button->setAutoDefault(false);
        return button;
    };
    connect(addButton("okButton", tr("OK"), 216), &QPushButton::clicked, this,
            &OptionsDialog::onOk);
    connect(addButton("cancelButton", tr("Cancel"), 256), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(addButton("helpButton", tr("Help"), 384), &QPushButton::clicked, this,
            [this] { ShowHelp(help_, dialogs_, this, kOptionsHelpContext); });

    // The text fields in the order they stand on the dialog, each under its stored name.
    auto field = [this](const char* section, const char* key, QLineEdit* edit,
                        TextRule rule = TextRule::Any, const QString& refusal = {}) {
        fields_.push_back({section, key, edit, rule, refusal, {}});
    };
    const QString positive = tr("%1 must be a positive number.");
    const QString radius = tr("The %1 Jacobi radius must lie between 0 and 1.");
    const QString notZero = tr("The magnet's %1 must not be 0.");
    field("Grid", "TextAreaSize", areaSize_, TextRule::Positive,
          positive.arg(tr("The area dimension (mm)")));
    field("R_Jacoby", "TextRjac0", initialRadius_, TextRule::UnitInterval,
          radius.arg(tr("initial")));
    field("R_Jacoby", "TextRjac1", mainRadius_, TextRule::UnitInterval, radius.arg(tr("main")));
    field("R_Jacoby", "TextRjacFin", finalRadius_, TextRule::UnitInterval, radius.arg(tr("final")));
    field("Misc", "TextMainSteps", passes_, TextRule::PassCount,
          tr("The number of passes must lie between 0 and 32767."));
    field("Misc", "TextKMu", reluctivityRelaxation_);
    field("Misc", "TextPrintScale", printScale_);
    field("Misc", "TextLineStep", lineStep_);
    field("Steel", "TextSteelMu", ironMu_, TextRule::Positive, positive.arg(tr("The iron's Mu")));
    field("Steel", "TextSteelMaxB", ironSaturation_);
    field("Coils", "TextDProv1", wireDiameter1_, TextRule::Positive,
          positive.arg(tr("The wire diameter of coil 1 (mm)")));
    field("Coils", "TextDProv2", wireDiameter2_, TextRule::Positive,
          positive.arg(tr("The wire diameter of coil 2 (mm)")));
    field("Coils", "TextMaxTok1", maxCurrent1_);
    field("Coils", "TextMaxTok2", maxCurrent2_);
    field("Vezozo", "TextMagBr", magnetBr_, TextRule::NotZero, notZero.arg(QStringLiteral("Br")));
    field("Vezozo", "TextMagBHmax", magnetBHmax_);
    field("Vezozo", "TextMagHc", magnetHc_, TextRule::NotZero, notZero.arg(QStringLiteral("Hc")));

    connect(gridCombo_, &QComboBox::currentIndexChanged, this, &OptionsDialog::refreshGridStep);
    connect(areaSize_, &QLineEdit::textChanged, this, &OptionsDialog::refreshGridStep);
}

std::array<std::pair<QCheckBox*, const char*>, 3> OptionsDialog::switches() const {
    return {{{showCrossSections_, "CheckShowCrossSections"},
             {showIntermediate_, "CheckShowIntermediate"},
             {colorReport_, "CheckColorReport"}}};
}

void OptionsDialog::refreshGridStep() {
    const int n = kGridSizes[gridCombo_->currentIndex()];
    gridStep_->setText(GeneralQText(ToNumber(areaSize_->text()) / n));
}

void OptionsDialog::edit(const Project& project, const ViewOptions& view) {
    edited_ = project;
    fill(project, view);
    exec();
}

void OptionsDialog::fill(const Project& p, const ViewOptions& view) {
    gridCombo_->setCurrentIndex(GridIndex(p.GridSize));
    areaSize_->setText(GeneralQTextSingle(p.AreaSize));
    refreshGridStep();
    ironMu_->setText(GeneralQText(p.SteelMu));
    ironSaturation_->setText(GeneralQText(p.SteelSaturationB));
    magnetBr_->setText(GeneralQText(p.MagBr));
    magnetBHmax_->setText(GeneralQText(p.MagBHmax / 1000));
    magnetHc_->setText(GeneralQText(p.MagHc / 1000));
    initialRadius_->setText(GeneralQText(p.Rjac0));
    mainRadius_->setText(GeneralQText(p.Rjac1));
    finalRadius_->setText(GeneralQText(p.RjacFin));
    reluctivityRelaxation_->setText(GeneralQText(p.ReluctivityRelaxation));
    printScale_->setText(GeneralQTextSingle(p.PrintScale));
    lineStep_->setText(GeneralQTextSingle(p.LineStep));
    passes_->setText(QString::number(p.MainSteps));
    maxCurrent1_->setText(GeneralQText(p.SliderFullScale1));
    maxCurrent2_->setText(GeneralQText(p.SliderFullScale2));
    wireDiameter1_->setText(GeneralQText(p.WireDiameter1));
    wireDiameter2_->setText(GeneralQText(p.WireDiameter2));
    showIntermediate_->setChecked(view.showIntermediate);
    showCrossSections_->setChecked(view.showCrossSections);
    colorReport_->setChecked(view.colorReport);
    comments_->setPlainText(CommentForDisplay(p.Comments));
}

OptionsDialog::Options OptionsDialog::fromTexts(const Project& base) const {
    Options chosen{base, {}};
    Project& p = chosen.project;
    p.GridSize = static_cast<std::int16_t>(kGridSizes[gridCombo_->currentIndex()]);
    p.AreaSize = static_cast<float>(ToNumber(areaSize_->text()));
    p.GridStep = p.AreaSize * 0.001 / p.GridSize;
    p.SteelMu = ToNumber(ironMu_->text());
    p.SteelSaturationB = ToNumber(ironSaturation_->text());
    p.MagBr = std::fabs(ToNumber(magnetBr_->text()));
    p.MagBHmax = std::fabs(ToNumber(magnetBHmax_->text())) * 1000;
    p.MagHc = std::fabs(ToNumber(magnetHc_->text())) * 1000;
    FitMagnetCurve(p);
    p.Rjac0 = ToNumber(initialRadius_->text());
    p.Rjac1 = ToNumber(mainRadius_->text());
    p.RjacFin = ToNumber(finalRadius_->text());
    p.ReluctivityRelaxation = ToNumber(reluctivityRelaxation_->text());
    p.PrintScale = static_cast<float>(ToNumber(printScale_->text()));
    p.LineStep = static_cast<float>(ToNumber(lineStep_->text()));
    const double passes = RoundHalfEven(LeadingNumber(passes_->text()));
    p.MainSteps = static_cast<std::int16_t>(std::clamp(passes, 0.0, 32767.0));
    p.SliderFullScale1 = ToNumber(maxCurrent1_->text());
    p.SliderFullScale2 = ToNumber(maxCurrent2_->text());
    p.WireDiameter1 = ToNumber(wireDiameter1_->text());
    p.WireDiameter2 = ToNumber(wireDiameter2_->text());
    p.Comments = CommentForProject(comments_->toPlainText());
    chosen.view.showIntermediate = showIntermediate_->isChecked();
    chosen.view.showCrossSections = showCrossSections_->isChecked();
    chosen.view.colorReport = colorReport_->isChecked();
    return chosen;
}

void OptionsDialog::onOk() {
    for (const TextField& field : fields_) {
        if (!FollowsRule(field.rule, field.edit->text())) {
            dialogs_.Message(this, kProgramName, field.refusal, MessageIcon::Exclamation);
            field.edit->setFocus();
            field.edit->selectAll();
            return;
        }
    }
    if (!MagnetRuleHolds(ToNumber(magnetBr_->text()), ToNumber(magnetHc_->text()),
                         ToNumber(magnetBHmax_->text()))) {
        dialogs_.Message(this, kProgramName,
                         tr("BHmax must be between Br*Hc and Br*Hc/4\nPlease check the parameters"),
                         MessageIcon::None, true);
        magnetBHmax_->setFocus();
        magnetBHmax_->selectAll();
        return;
    }
    const Options chosen = fromTexts(edited_);
    emit optionsApplied(chosen.project, chosen.view);
    accept();
}

OptionsDialog::Options OptionsDialog::readSettings(SettingsStore& store) {
    fill(FirstStartProject(), ViewOptions{});
    for (const TextField& field : fields_) {
        const QString text = store.Read(kApplication, field.section, field.key, field.firstStart);
        field.edit->setText(FollowsRule(field.rule, text) ? text : field.firstStart);
    }
    comments_->setPlainText(store.Read(kApplication, kCommentsSection, "TextComments", QString()));
    for (const auto& [check, key] : switches()) {
        const double state = ToNumber(
            store.Read(kApplication, kSwitchesSection, key, check->isChecked() ? "1" : "0"));
        if (state == 0 || state == 1) {
            check->setChecked(state == 1);
        }
    }
    const double index = RoundHalfEven(LeadingNumber(store.Read(
        kApplication, kGridSection, "ComboGrid", QString::number(gridCombo_->currentIndex()))));
    if (index >= 0 && index < kGridCount) {
        gridCombo_->setCurrentIndex(static_cast<int>(index));
    }
    return fromTexts(FirstStartProject());
}

void OptionsDialog::writeSettings(SettingsStore& store, const Project& project,
                                  const ViewOptions& view) {
    fill(project, view);
    for (const TextField& field : fields_) {
        store.Write(kApplication, field.section, field.key, field.edit->text());
    }
    store.Write(kApplication, kCommentsSection, "TextComments", comments_->toPlainText());
    for (const auto& [check, key] : switches()) {
        store.Write(kApplication, kSwitchesSection, key, check->isChecked() ? "1" : "0");
    }
    store.Write(kApplication, kGridSection, "ComboGrid",
                QString::number(gridCombo_->currentIndex()));
}

}  // namespace tesvid
