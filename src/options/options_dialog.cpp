#include "options/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "model/number_format.h"
#include "options/option_checks.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "platform/number_text.h"
#include "platform/settings_store.h"
#include "platform/ui_font.h"
#include "solver/material_map.h"

namespace tesvid {
namespace {

constexpr const char* kGridEntries[] = {"50x50", "100x100", "200x200", "400x400"};
constexpr int kGridEntryCount = 4;

QGroupBox* AddFrame(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                    int h) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setGeometry(x, y, w, h);
    return frame;
}

// The comment as the dialog shows it (line feeds) and as the model holds it (CR LF, 200
// ISO 8859-1 characters padded with spaces; other characters become "?").
QString CommentForDisplay(const std::string& stored) {
    QString text = QString::fromLatin1(stored.data(), static_cast<qsizetype>(stored.size()));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::string CommentForModel(QString text) {
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    std::string bytes = text.left(kCommentLength).toLatin1().toStdString();
    bytes.resize(kCommentLength, ' ');
    return bytes;
}

}  // namespace

OptionsDialog::OptionsDialog(Model& model, ViewOptions& viewOptions, Dialogs& dialogs, HelpViewer& help, QWidget* parent)
    : QDialog(parent), model_(model), viewOptions_(viewOptions), dialogs_(dialogs), help_(help) {
    setObjectName("frmOptions");
    setWindowTitle("Options");
    setFont(UiFont());
    setModal(true);
    BuildLayout();
    setFixedSize(480, 426);
}

void OptionsDialog::AttachDrawing(QLabel* areaLabel, DrawingSurface* picture) {
    areaLabel_ = areaLabel;
    picture_ = picture;
}

QLabel* OptionsDialog::AddLabel(QWidget* frame, const QString& text, int x, int y, int w, int h) {
    auto* label = new QLabel(text, frame);
    label->setGeometry(x, y, w, h);
    return label;
}

QLineEdit* OptionsDialog::AddEdit(QWidget* frame, const char* name, int x, int y, int w) {
    auto* edit = new QLineEdit(frame);
    edit->setObjectName(name);
    edit->setGeometry(x, y, w, 20);
    return edit;
}

void OptionsDialog::BuildLayout() {
    // Frames and controls at their places; positions in pixels, controls relative to their frame.
    QGroupBox* grid = AddFrame(this, "Grid", "Grid", 16, 8, 113, 137);
    ComboGrid = new QComboBox(grid);
    ComboGrid->setObjectName("ComboGrid");
    ComboGrid->setGeometry(12, 22, 89, 22);
    for (const char* entry : kGridEntries) {
        ComboGrid->addItem(entry);
    }
    ComboGrid->setCurrentIndex(0);
    AddLabel(grid, "Dimension mm", 12, 52, 89);
    TextAreaSize = AddEdit(grid, "TextAreaSize", 12, 68, 89);
    AddLabel(grid, "Step, mm", 12, 100, 52);
    LabelGridStep = AddLabel(grid, "", 64, 100, 44);
    LabelGridStep->setObjectName("LabelGridStep");

    QGroupBox* jacobi = AddFrame(this, "R_Jacoby", "Jacoby radius", 144, 8, 105, 137);
    AddLabel(jacobi, "initial", 10, 30, 40);
    TextRjac0 = AddEdit(jacobi, "TextRjac0", 50, 28, 45);
    AddLabel(jacobi, "main", 10, 66, 40);
    TextRjac1 = AddEdit(jacobi, "TextRjac1", 50, 64, 45);
    AddLabel(jacobi, "final", 10, 102, 40);
    TextRjacFin = AddEdit(jacobi, "TextRjacFin", 50, 100, 45);

    QGroupBox* misc = AddFrame(this, "Misc", "Miscellaneous", 272, 8, 193, 137);
    QLabel* passes = AddLabel(misc, "Number of passes          (norm: 10)", 10, 18, 112, 30);
    passes->setWordWrap(true);
    TextMainSteps = AddEdit(misc, "TextMainSteps", 136, 24, 47);
    AddLabel(misc, "Mu relaxation factor", 10, 56, 124);
    TextKMu = AddEdit(misc, "TextKMu", 136, 54, 47);
    AddLabel(misc, "Print scale", 10, 84, 90);
    AddLabel(misc, "1 : ", 114, 84, 20);
    TextPrintScale = AddEdit(misc, "TextPrintScale", 136, 82, 47);
    AddLabel(misc, "Force line step", 10, 112, 124);
    TextLineStep = AddEdit(misc, "TextLineStep", 136, 110, 47);

    QGroupBox* steel = AddFrame(this, "Steel", "Iron", 16, 152, 113, 89);
    AddLabel(steel, "Mu:", 10, 30, 44);
    TextSteelMu = AddEdit(steel, "TextSteelMu", 56, 28, 47);
    AddLabel(steel, "Br, Tesla", 10, 60, 46);
    TextSteelMaxB = AddEdit(steel, "TextSteelMaxB", 56, 58, 47);

    QGroupBox* coils = AddFrame(this, "Coils", "Coils", 144, 152, 209, 89);
    QLabel* head1 = AddLabel(coils, "1", 114, 16, 40);
    QLabel* head2 = AddLabel(coils, "2", 160, 16, 40);
    head1->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    head2->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    AddLabel(coils, "Wire diameter, mm", 10, 36, 102);
    TextDProv1 = AddEdit(coils, "TextDProv1", 114, 34, 40);
    TextDProv2 = AddEdit(coils, "TextDProv2", 160, 34, 40);
    AddLabel(coils, "Max current", 10, 62, 102);
    TextMaxTok1 = AddEdit(coils, "TextMaxTok1", 114, 60, 40);
    TextMaxTok2 = AddEdit(coils, "TextMaxTok2", 160, 60, 40);

    QGroupBox* magnet = AddFrame(this, "Vezozo", "Magnet", 16, 248, 113, 121);
    AddLabel(magnet, "Br, Tesla", 10, 26, 56);
    TextMagBr = AddEdit(magnet, "TextMagBr", 66, 24, 39);
    QLabel* bhmax = AddLabel(magnet, "BHmax, kJ/m3", 10, 52, 54, 30);
    bhmax->setWordWrap(true);
    TextMagBHmax = AddEdit(magnet, "TextMagBHmax", 66, 57, 39);
    AddLabel(magnet, "Hc, kA/m", 10, 92, 56);
    TextMagHc = AddEdit(magnet, "TextMagHc", 66, 90, 39);

    QGroupBox* comments = AddFrame(this, "frmComments", "Comments", 144, 248, 209, 121);
    TextComments = new QPlainTextEdit(comments);
    TextComments->setObjectName("TextComments");
    TextComments->setGeometry(16, 24, 177, 81);
    TextComments->setTabChangesFocus(true);

    CheckShowIntermediate = new QCheckBox("Show intermediate results", this);
    CheckShowIntermediate->setObjectName("CheckShowIntermediate");
    CheckShowIntermediate->setGeometry(16, 384, 164, 20);
    CheckShowCrossSections = new QCheckBox("Show coordinate distributions", this);
    CheckShowCrossSections->setObjectName("CheckShowCrossSections");
    CheckShowCrossSections->setGeometry(184, 384, 190, 20);
    CheckShowCrossSections->setChecked(true);

    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(384, 216, 73, 25);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(384, 256, 73, 25);
    CommandHelp = new QPushButton("Help", this);
    CommandHelp->setObjectName("CommandHelp");
    CommandHelp->setGeometry(384, 384, 73, 25);
    for (QPushButton* b : {cmdOK, cmdCancel, CommandHelp}) {
        b->setAutoDefault(false);
    }

    // The stored text fields with their sections and first-start texts.
    textFields_ = {
        {"Misc", TextMainSteps, "10"},     {"Misc", TextKMu, "0.05"},
        {"Misc", TextPrintScale, "1"},     {"Misc", TextLineStep, "10"},
        {"R_Jacoby", TextRjac0, "0.995"},  {"R_Jacoby", TextRjac1, "0.9995"},
        {"R_Jacoby", TextRjacFin, "0.95"}, {"Vezozo", TextMagBr, "1"},
        {"Vezozo", TextMagBHmax, "30"},    {"Vezozo", TextMagHc, "100"},
        {"Steel", TextSteelMu, "2000"},    {"Steel", TextSteelMaxB, "1.5"},
        {"Grid", TextAreaSize, "100"},     {"Coils", TextMaxTok1, "10"},
        {"Coils", TextMaxTok2, "10"},      {"Coils", TextDProv1, "1"},
        {"Coils", TextDProv2, "1"},
    };
    for (const TextField& f : textFields_) {
        f.edit->setText(QString::fromLatin1(f.firstStart));
    }
    TextComments->setPlainText(QString());

    connect(ComboGrid, &QComboBox::currentIndexChanged, this, [this] { RefreshGridStep(); });
    connect(TextAreaSize, &QLineEdit::textChanged, this, [this] { RefreshGridStep(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(CommandHelp, &QPushButton::clicked, this, [this] { CommandHelp_Click(); });
    RefreshGridStep();
}

void OptionsDialog::RefreshGridStep() {
    const int k = ComboGrid->currentIndex();
    const double cells = 50 * std::pow(2.0, k);
    LabelGridStep->setText(GeneralQText(ToNumber(TextAreaSize->text()) / cells));
}

void OptionsDialog::Start() {
    Var_to_Text();
    exec();
}

void OptionsDialog::Var_to_Text() {
    const int n = model_.project.GridSize > 0 ? model_.project.GridSize : 50;
    const int index = static_cast<int>(RoundHalfEven(std::log2(n / 50.0)));
    ComboGrid->setCurrentIndex(std::clamp(index, 0, kGridEntryCount - 1));
    TextAreaSize->setText(GeneralQTextSingle(model_.project.AreaSize));
    RefreshGridStep();
    TextSteelMu->setText(GeneralQText(model_.project.SteelMu));
    TextSteelMaxB->setText(GeneralQText(model_.project.SteelSaturationB));
    TextMagBr->setText(GeneralQText(model_.project.MagBr));
    TextMagBHmax->setText(GeneralQText(model_.project.MagBHmax / 1000));
    TextMagHc->setText(GeneralQText(model_.project.MagHc / 1000));
    TextRjac0->setText(GeneralQText(model_.project.Rjac0));
    TextRjac1->setText(GeneralQText(model_.project.Rjac1));
    TextRjacFin->setText(GeneralQText(model_.project.RjacFin));
    TextKMu->setText(GeneralQText(model_.project.ReluctivityRelaxation));
    TextPrintScale->setText(GeneralQTextSingle(model_.project.PrintScale));
    TextLineStep->setText(GeneralQTextSingle(model_.project.LineStep));
    TextMainSteps->setText(QString::number(model_.project.MainSteps));
    TextMaxTok1->setText(GeneralQText(model_.project.SliderFullScale1));
    TextMaxTok2->setText(GeneralQText(model_.project.SliderFullScale2));
    TextDProv1->setText(GeneralQText(model_.project.WireDiameter1));
    TextDProv2->setText(GeneralQText(model_.project.WireDiameter2));
    CheckShowIntermediate->setChecked(viewOptions_.showIntermediate);
    CheckShowCrossSections->setChecked(viewOptions_.showCrossSections);
    TextComments->setPlainText(CommentForDisplay(model_.project.Comments));
}

void OptionsDialog::Text_to_Var() {
    const int k = ComboGrid->currentIndex();
    if (k >= 0 && k < kGridEntryCount) {
        model_.project.GridSize = static_cast<std::int16_t>(50 << k);
    }
    model_.project.AreaSize = static_cast<float>(ToNumber(TextAreaSize->text()));
    if (areaLabel_) {
        areaLabel_->setText(GeneralQTextSingle(model_.project.AreaSize));
    }
    model_.project.GridStep = model_.project.AreaSize * 0.001 / model_.project.GridSize;
    if (picture_) {
        picture_->SetScale(model_.project.GridSize, model_.project.GridSize);
        picture_->SetPenWidth(static_cast<int>(RoundHalfEven(400.0 / model_.project.GridSize)));
    }
    model_.project.SteelMu = ToNumber(TextSteelMu->text());
    model_.project.SteelSaturationB = ToNumber(TextSteelMaxB->text());
    model_.project.MagBr = std::fabs(ToNumber(TextMagBr->text()));
    model_.project.MagBHmax = std::fabs(ToNumber(TextMagBHmax->text())) * 1000;
    model_.project.MagHc = std::fabs(ToNumber(TextMagHc->text())) * 1000;
    FitMagnetCurve(model_.project);
    model_.project.Rjac0 = ToNumber(TextRjac0->text());
    model_.project.Rjac1 = ToNumber(TextRjac1->text());
    model_.project.RjacFin = ToNumber(TextRjacFin->text());
    model_.project.ReluctivityRelaxation = ToNumber(TextKMu->text());
    model_.project.PrintScale = static_cast<float>(ToNumber(TextPrintScale->text()));
    model_.project.LineStep = static_cast<float>(ToNumber(TextLineStep->text()));
    const double passes = RoundHalfEven(LeadingNumber(TextMainSteps->text()));
    model_.project.MainSteps = static_cast<std::int16_t>(std::clamp(passes, 0.0, 32767.0));
    model_.project.SliderFullScale1 = ToNumber(TextMaxTok1->text());
    model_.project.SliderFullScale2 = ToNumber(TextMaxTok2->text());
    model_.project.WireDiameter1 = ToNumber(TextDProv1->text());
    model_.project.WireDiameter2 = ToNumber(TextDProv2->text());
    viewOptions_.showIntermediate = CheckShowIntermediate->checkState() != Qt::Unchecked;
    viewOptions_.showCrossSections = CheckShowCrossSections->checkState() != Qt::Unchecked;
    model_.project.Comments = CommentForModel(TextComments->toPlainText());
}

std::optional<OptionsDialog::Refusal> OptionsDialog::CheckTexts() const {
    // In the order the fields stand on the dialog.
    for (QLineEdit* edit : {TextAreaSize, TextRjac0, TextRjac1, TextRjacFin, TextMainSteps,
                            TextSteelMu, TextDProv1, TextDProv2, TextMagBr, TextMagHc}) {
        if (auto why = UnusableOptionText(edit->objectName(), edit->text())) {
            return Refusal{*why, edit};
        }
    }
    if (!MagnetRuleHolds(ToNumber(TextMagBr->text()), ToNumber(TextMagHc->text()),
                         ToNumber(TextMagBHmax->text()))) {
        return Refusal{MagnetRuleMessage(), TextMagBHmax};
    }
    return std::nullopt;
}

void OptionsDialog::cmdOK_Click() {
    if (auto refusal = CheckTexts()) {
        const bool magnetRule = refusal->field == TextMagBHmax;
        dialogs_.Message(this, "Tesvid", refusal->message,
                         magnetRule ? MessageIcon::None : MessageIcon::Exclamation, magnetRule);
        if (auto* edit = qobject_cast<QLineEdit*>(refusal->field)) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    Text_to_Var();
    accept();
}

void OptionsDialog::cmdCancel_Click() {
    reject();
}

void OptionsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void OptionsDialog::CommandHelp_Click() {
    if (help_.HelpFile().isEmpty()) {
        dialogs_.Message(this, windowTitle(),
                         "Unable to display Help Contents. There is no Help associated with "
                         "this project.",
                         MessageIcon::Information);
        return;
    }
    if (auto error = help_.Show(this, kOptionsHelpContext)) {
        dialogs_.Message(this, "Tesvid", *error, MessageIcon::None);
    }
}

void OptionsDialog::RegistryRead(SettingsStore& store) {
    for (const TextField& f : textFields_) {
        const QString text =
            store.Read(kApplication, f.section, f.edit->objectName(), f.edit->text());
        const bool usable = !UnusableOptionText(f.edit->objectName(), text).has_value();
        f.edit->setText(usable ? text : QString::fromLatin1(f.firstStart));
    }
    TextComments->setPlainText(
        store.Read(kApplication, "frmComments", "TextComments", TextComments->toPlainText()));
    for (QCheckBox* check : {CheckShowCrossSections, CheckShowIntermediate}) {
        const QString present = check->isChecked() ? "1" : "0";
        const double state =
            ToNumber(store.Read(kApplication, "frmOptions", check->objectName(), present));
        if (state == 0 || state == 1) {
            check->setChecked(state == 1);
        }
    }
    const double index = RoundHalfEven(LeadingNumber(
        store.Read(kApplication, "Grid", "ComboGrid", QString::number(ComboGrid->currentIndex()))));
    if (index >= 0 && index < kGridEntryCount) {
        ComboGrid->setCurrentIndex(static_cast<int>(index));
    }
}

void OptionsDialog::RegistryWrite(SettingsStore& store) {
    Var_to_Text();
    for (const TextField& f : textFields_) {
        store.Write(kApplication, f.section, f.edit->objectName(), f.edit->text());
    }
    store.Write(kApplication, "frmComments", "TextComments", TextComments->toPlainText());
    for (QCheckBox* check : {CheckShowCrossSections, CheckShowIntermediate}) {
        store.Write(kApplication, "frmOptions", check->objectName(),
                    check->isChecked() ? "1" : "0");
    }
    store.Write(kApplication, "Grid", "ComboGrid", QString::number(ComboGrid->currentIndex()));
}

}  // namespace tesvid
