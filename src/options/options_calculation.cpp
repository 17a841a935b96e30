// The options dialog's choice of how RUN calculates: until the field has converged, with its
// tolerance, or the fixed schedule of the Number of passes.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "options/options_dialog.h"
#include "platform/number_text.h"
#include "platform/settings_store.h"
#include "solver/sweep_team.h"

namespace tesvid {
namespace {

// The dialog's own section of the settings store, under its stored name.
const QString kCalculationSection = QStringLiteral(
    "frm"
    "Options");

}  // namespace

void OptionsDialog::buildCalculationGroup() {
    auto* group = new QGroupBox(tr("Calculation"), this);
    group->setObjectName("calculationGroup");
    group->setGeometry(16, 412, 449, 49);
    convergeOption_ = new QRadioButton(tr("Until converged"), group);
    convergeOption_->setObjectName("convergeOption");
    convergeOption_->setGeometry(10, 22, 124, 20);
    auto* caption = new QLabel(tr("tolerance"), group);
    caption->setGeometry(138, 24, 56, 16);
    toleranceEdit_ = new QLineEdit(group);
    toleranceEdit_->setObjectName("toleranceEdit");
    toleranceEdit_->setGeometry(196, 22, 64, 20);
    fixedOption_ = new QRadioButton(tr("Fixed schedule"), group);
    fixedOption_->setObjectName("fixedOption");
    fixedOption_->setGeometry(290, 22, 150, 20);
    // The tolerance belongs to the calculation until converged.
    connect(convergeOption_, &QRadioButton::toggled, toleranceEdit_, &QLineEdit::setEnabled);
}

void OptionsDialog::fillCalculation() {
    const bool converge = schedule_ == ScheduleKind::Converge;
    (converge ? convergeOption_ : fixedOption_)->setChecked(true);
    toleranceEdit_->setEnabled(converge);
    toleranceEdit_->setText(GeneralQText(tolerance_));
}

QString OptionsDialog::toleranceRefusal() const {
    if (!convergeOption_->isChecked()) {
        return {};
    }
    const QString text = toleranceEdit_->text().trimmed();
    const double tolerance = ToNumber(text);
    if (!(tolerance > 0)) {
        // Named as typed: text that is no number reads as 0.
        return tr("The tolerance %1 must be a positive number.").arg(text);
    }
    const std::optional<std::string> why = ToleranceRefusal(tolerance);
    return why ? QString::fromStdString(*why) : QString();
}

void OptionsDialog::takeCalculation() {
    schedule_ = convergeOption_->isChecked() ? ScheduleKind::Converge : ScheduleKind::Fixed;
    const double typed = ToNumber(toleranceEdit_->text());
    if (!ToleranceRefusal(typed)) {
        tolerance_ = typed;  // with the fixed schedule an unusable text keeps the last one
    }
}

CalculationSettings OptionsDialog::calculationSettings() const {
    CalculationSettings settings;
    settings.schedule = schedule_;
    settings.tolerance = tolerance_;
    settings.threads = SweepTeam::DefaultThreads();
    return settings;
}

void OptionsDialog::readCalculation(SettingsStore& store) {
    const QString converge = store.Read(kApplication, kCalculationSection, "OptionConverge", "1");
    schedule_ = converge.trimmed() == "0" ? ScheduleKind::Fixed : ScheduleKind::Converge;
    const double tolerance = ToNumber(store.Read(kApplication, kCalculationSection, "TextTolerance",
                                                 GeneralQText(kDefaultTolerance)));
    tolerance_ = ToleranceRefusal(tolerance) ? kDefaultTolerance : tolerance;
    fillCalculation();
}

void OptionsDialog::writeCalculation(SettingsStore& store) const {
    store.Write(kApplication, kCalculationSection, "OptionConverge",
                schedule_ == ScheduleKind::Converge ? "1" : "0");
    store.Write(kApplication, kCalculationSection, "TextTolerance", GeneralQText(tolerance_));
}

}  // namespace tesvid
