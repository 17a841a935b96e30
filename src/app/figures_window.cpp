#include "app/figures_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "model/number_format.h"
#include "platform/clipboard.h"
#include "platform/number_text.h"
#include "platform/ui_font.h"

namespace tesvid {

namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString Escaped(const std::string& utf8) {
    return Q(utf8).toHtmlEscaped();
}

const char* const kBodyHint = "Click a body in the result view for the axial force on it.";

// One row of the coil table: a caption and a cell per coil on the map.
struct CoilRow {
    const char* caption;
    std::string (*cell)(const CoilEngineeringFigures& c, char sep);
};

const CoilRow kCoilRows[] = {
    {"Inductance L",
     [](const CoilEngineeringFigures& c, char sep) {
         return c.inductance ? EngineeringText(*c.inductance, "H", sep)
                             : std::string("- (no current)");
     }},
    {"Flux linkage Psi", [](const CoilEngineeringFigures& c,
                            char sep) { return EngineeringText(c.fluxLinkage, "Wb", sep); }},
    {"Axial force F_z",
     [](const CoilEngineeringFigures& c, char sep) { return EngineeringText(c.forceZ, "N", sep); }},
    {"Turns N", [](const CoilEngineeringFigures& c,
                   char sep) { return GeneralText(RoundHalfEven(c.turns, 1), sep); }},
    {"Current I", [](const CoilEngineeringFigures& c,
                     char sep) { return EngineeringText(c.current, "A", sep); }},
    {"Resistance R", [](const CoilEngineeringFigures& c,
                        char sep) { return EngineeringText(c.resistance, "ohm", sep); }},
    {"Power P",
     [](const CoilEngineeringFigures& c, char sep) { return EngineeringText(c.power, "W", sep); }},
};

}  // namespace

FiguresWindow::FiguresWindow(Clipboard& clipboard, QWidget* parent)
    : QWidget(parent, Qt::Tool), clipboard_(clipboard) {
    setObjectName("figuresWindow");
    setWindowTitle(tr("Figures"));
    setFont(UiFont());
    table_ = new QLabel(this);
    table_->setObjectName("figuresTable");
    table_->setTextFormat(Qt::RichText);
    table_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    body_ = new QLabel(this);
    body_->setObjectName("bodyFigures");
    body_->setWordWrap(true);
    body_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* sign = new QLabel(tr("F_z > 0 pulls down the picture (Z grows downwards)."), this);
    sign->setObjectName("signNote");
    sign->setWordWrap(true);
    auto* copy = new QPushButton(tr("Copy"), this);
    copy->setObjectName("figuresCopyButton");
    connect(copy, &QPushButton::clicked, this, &FiguresWindow::CopyToClipboard);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(body_);
    layout->addWidget(sign);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    body_->setFixedWidth(320);
    sign->setFixedWidth(320);

    refusal_ = "There is no calculated field yet: press RUN to calculate one.";
    bodyNote_ = tr(kBodyHint);
    refresh();
}

void FiguresWindow::ShowField(const Model& m, bool fieldIsResult) {
    figures_.reset();
    if (auto why = FiguresRefusal(m)) {
        refusal_ = *why;
    } else if (!fieldIsResult && !HoldsPotential(m.arrays)) {
        refusal_ =
            "The project holds no calculated field (it was saved before a calculation): press "
            "RUN to calculate it.";
    } else {
        figures_ = ComputeEngineeringFigures(m);
    }
    bodyNote_ = tr(kBodyHint);
    refresh();
}

bool FiguresWindow::ChooseBody(const Model& m, int i, int j) {
    if (!figures_) {
        bodyNote_ = Q(refusal_);
        refresh();
        return false;
    }
    figures_->bodies.clear();
    if (auto why = BodyRefusal(m, i, j)) {
        bodyNote_ = Q(*why);
        refresh();
        return false;
    }
    figures_->bodies = ComputeEngineeringFigures(m, {{i, j}}).bodies;
    refresh();
    return !figures_->bodies.empty();
}

void FiguresWindow::ForgetBody() {
    if (figures_) {
        figures_->bodies.clear();
    }
    bodyNote_ = tr(kBodyHint);
    refresh();
}

std::vector<std::string> FiguresWindow::Lines() const {
    if (!figures_) {
        return {refusal_};
    }
    return FiguresTextLines(*figures_, LocaleDecimalSeparator());
}

QString FiguresWindow::Text() const {
    QStringList lines;
    for (const std::string& line : Lines()) {
        lines << Q(line);
    }
    return lines.join('\n');
}

void FiguresWindow::CopyToClipboard() {
    clipboard_.Clear();
    clipboard_.SetText(Text());
}

void FiguresWindow::ShowBeside(const QWidget& mainWindow) {
    if (!placed_) {
        placed_ = true;
        // Laid out at its size before it is placed.
        adjustSize();
        const QRect frame = mainWindow.frameGeometry();
        QPoint place(frame.left(), frame.bottom() + 1);
        if (const QScreen* screen = mainWindow.screen()) {
            const QRect room = screen->availableGeometry();
            const QSize size = frameGeometry().size();
            place.setX(std::clamp(place.x(), room.left(),
                                  std::max(room.left(), room.right() + 1 - size.width())));
            place.setY(std::clamp(place.y(), room.top(),
                                  std::max(room.top(), room.bottom() + 1 - size.height())));
        }
        move(place);
    }
    if (isVisible()) {
        raise();
    } else {
        show();
    }
}

void FiguresWindow::refresh() {
    const char sep = LocaleDecimalSeparator();
    if (!figures_) {
        table_->setText(QStringLiteral("<p>%1</p>").arg(Escaped(refusal_)));
        table_->setWordWrap(true);
        table_->setFixedWidth(320);
        body_->setText(QString());
        body_->hide();
        return;
    }
    table_->setWordWrap(false);
    table_->setMinimumWidth(0);
    table_->setMaximumWidth(QWIDGETSIZE_MAX);
    std::vector<std::pair<const char*, const CoilEngineeringFigures*>> coils;
    if (figures_->coil1.present) {
        coils.push_back({"Coil 1", &figures_->coil1});
    }
    if (figures_->coil2.present) {
        coils.push_back({"Coil 2", &figures_->coil2});
    }
    QString html = QStringLiteral("<table cellspacing='0' cellpadding='2'>");
    if (coils.empty()) {
        html += QStringLiteral("<tr><td colspan='2'>%1</td></tr>").arg(tr("No coil on the map."));
    } else {
        html += QStringLiteral("<tr><td></td>");
        for (const auto& coil : coils) {
            html += QStringLiteral("<td align='right'><b>%1</b></td>").arg(tr(coil.first));
        }
        html += QStringLiteral("</tr>");
        for (const CoilRow& row : kCoilRows) {
            html += QStringLiteral("<tr><td>%1</td>").arg(tr(row.caption));
            for (const auto& coil : coils) {
                html += QStringLiteral("<td align='right'>&nbsp;&nbsp;%1</td>")
                            .arg(Escaped(row.cell(*coil.second, sep)));
            }
            html += QStringLiteral("</tr>");
        }
    }
    html += QStringLiteral("<tr><td>%1</td><td colspan='2' align='right'>%2</td></tr></table>")
                .arg(tr("Stored energy W"),
                     figures_->energy ? Escaped(EngineeringText(*figures_->energy, "J", sep))
                                      : tr("not given with a permanent magnet on the map"));
    table_->setText(html);

    if (figures_->bodies.empty()) {
        body_->setText(bodyNote_);
    } else {
        const BodyForce& b = figures_->bodies.front();
        QString line = tr("%1 at node (%2, %3), %4 nodes: F_z = %5")
                           .arg(Q(std::string(MaterialLabel(b.material))))
                           .arg(b.i)
                           .arg(b.j)
                           .arg(b.nodes)
                           .arg(Q(EngineeringText(b.forceZ, "N", sep)));
        if (b.touchesEdge) {
            line += tr(" (cut by the area's edge: the force misses what lies beyond)");
        }
        body_->setText(line);
    }
    body_->show();
}

}  // namespace tesvid
