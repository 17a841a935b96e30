#include "app/rectangle_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <limits>

#include "model/material_code.h"

namespace tesvid {
namespace {

// A bound as typed, in the locale's numbers (no thousands separators) or with a point; NaN
// for anything else.
double Bound(const QLineEdit* edit) {
    const QString text = edit->text().trimmed();
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = locale.toDouble(text, &ok);
    if (!ok) {
        value = QLocale::c().toDouble(text, &ok);
    }
    return ok ? value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

RectangleDialog::RectangleDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("rectangleDialog");
    setWindowTitle(tr("Rectangle"));
    setModal(true);
    auto* grid = new QGridLayout(this);

    material_ = new QComboBox(this);
    material_->setObjectName("materialCombo");
    material_->setEditable(true);
    material_->setInsertPolicy(QComboBox::NoInsert);
    // The palette's order on screen.
    for (MaterialCode m :
         {MaterialCode::Vacuum, MaterialCode::Iron, MaterialCode::MagnetS, MaterialCode::MagnetN,
          MaterialCode::Coil1, MaterialCode::Coil2, MaterialCode::Nonmag}) {
        const std::string_view label = MaterialLabel(m);
        material_->addItem(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    }
    grid->addWidget(new QLabel(tr("Material"), this), 0, 0);
    grid->addWidget(material_, 0, 1, 1, 4);

    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(QStringLiteral("0"), this);
        e->setObjectName(name);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFixedWidth(70);
        return e;
    };
    rFrom_ = edit("rFromEdit");
    rTo_ = edit("rToEdit");
    zFrom_ = edit("zFromEdit");
    zTo_ = edit("zToEdit");
    const struct {
        QString caption;
        QLineEdit* from;
        QLineEdit* to;
    } rows[] = {{tr("R, mm"), rFrom_, rTo_}, {tr("Z, mm"), zFrom_, zTo_}};
    for (int row = 0; row < 2; ++row) {
        grid->addWidget(new QLabel(rows[row].caption, this), row + 1, 0);
        grid->addWidget(new QLabel(tr("from"), this), row + 1, 1);
        grid->addWidget(rows[row].from, row + 1, 2);
        grid->addWidget(new QLabel(tr("to"), this), row + 1, 3);
        grid->addWidget(rows[row].to, row + 1, 4);
    }
    hint_ = new QLabel(this);
    hint_->setObjectName("rectangleHint");
    hint_->setWordWrap(true);
    grid->addWidget(hint_, 3, 0, 1, 5);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 4, 0, 1, 5);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void RectangleDialog::setMaterial(const QString& name) {
    const int index = material_->findText(name);
    if (index >= 0) {
        material_->setCurrentIndex(index);
    }
}

bool RectangleDialog::ask(const QString& areaText) {
    hint_->setText(tr("The area is 0..%1 mm both ways: R from the axis, Z from the top edge. "
                      "Every grid node inside the rectangle, its edges included, is painted.")
                       .arg(areaText));
    rFrom_->setFocus();
    rFrom_->selectAll();
    return exec() == QDialog::Accepted;
}

TypedRectangle RectangleDialog::rectangle() const {
    return TypedRectangle{material_->currentText().trimmed().toStdString(), Bound(rFrom_),
                          Bound(rTo_), Bound(zFrom_), Bound(zTo_)};
}

}  // namespace tesvid
