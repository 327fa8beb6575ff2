#include "app/FindPanel.h"

#include "app/ProgramListView.h"
#include "controls/ColorValue.h"
#include "controls/Url.h"
#include "core/AppContext.h"
#include "core/TextHelpers.h"
#include "dialogs/CommonDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QColor kPanelColor(214, 227, 252);
const QColor kShapeOff(224, 224, 224);
} // namespace

QList<int> FindMatches(UninstallEntries& entries, const QStringList& keys, const QString& field,
                       const QString& text, bool matchCase) {
    QList<int> positions;
    const auto batch = entries.store().BeginReadBatch();
    const QString wanted = matchCase ? text : text.toLower();
    for (int i = 0; i < keys.size(); ++i) {
        QString value = entries.value(keys[i], field);
        if (!matchCase)
            value = value.toLower();
        if (value.contains(wanted))
            positions.append(i + 1);
    }
    return positions;
}

FindPanel::FindPanel(AppContext& context, ProgramListView* list, QWidget* parent)
    : QFrame(parent), context_(context), list_(list), text_(new QLineEdit(this)),
      param_(new QComboBox(this)), matchCase_(new QCheckBox(QStringLiteral("Match case"), this)),
      colour_(new QCheckBox(QStringLiteral("Color Found Items "), this)),
      selectColour_(new Url(this)), shape_(new QFrame(this)),
      search_(new QPushButton(QStringLiteral("Find Next"), this)), matches_(new QListWidget(this)),
      shapeColor_(kShapeOff) {
    setObjectName(QStringLiteral("Side"));
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(3150 / 15);
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    QLabel* title = label("Label2", QStringLiteral("Search for a program."));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    text_->setObjectName(QStringLiteral("TxtFind"));
    param_->setObjectName(QStringLiteral("Param"));
    matchCase_->setObjectName(QStringLiteral("ChkLetters"));
    colour_->setObjectName(QStringLiteral("ChkCol"));
    selectColour_->setObjectName(QStringLiteral("UrlSelColor"));
    selectColour_->setCaption(QStringLiteral("Select Color"));
    selectColour_->OverColor = 0xFF0000; // blue while pointed at
    selectColour_->setEnabled(false);
    shape_->setObjectName(QStringLiteral("ShColor"));
    shape_->setFixedSize(40, 16);
    shape_->setFrameShape(QFrame::Box);
    shape_->setAutoFillBackground(true);
    search_->setObjectName(QStringLiteral("Cmd_Search"));
    search_->setEnabled(false);
    matches_->setObjectName(QStringLiteral("LstFnd"));
    matches_->hide();
    for (QWidget* w : {static_cast<QWidget*>(matchCase_), static_cast<QWidget*>(colour_)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, kPanelColor);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
    selectColour_->BackColor = ColorValue(kPanelColor);
    QPalette shapePalette = shape_->palette();
    shapePalette.setColor(QPalette::Window, shapeColor_);
    shape_->setPalette(shapePalette);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addSpacing(6);
    layout->addWidget(label("Label4", QStringLiteral("Search For :")));
    layout->addWidget(text_);
    layout->addWidget(label("Label3", QStringLiteral("Search By :")));
    layout->addWidget(param_);
    layout->addSpacing(6);
    layout->addWidget(label("Label5", QStringLiteral("Search Options")));
    layout->addWidget(matchCase_);
    layout->addWidget(colour_);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(selectColour_);
    colourRow->addWidget(shape_);
    colourRow->addStretch();
    layout->addLayout(colourRow);
    layout->addSpacing(6);
    layout->addWidget(search_, 0, Qt::AlignRight);
    layout->addWidget(matches_);
    layout->addStretch();

    connect(text_, &QLineEdit::textChanged, this,
            [this](const QString& text) { search_->setEnabled(HasNonSpace(text)); });
    connect(text_, &QLineEdit::returnPressed, this, [this] {
        if (search_->isEnabled())
            findNext();
    });
    connect(param_, &QComboBox::currentIndexChanged, this, [this] { findPosition_ = 0; });
    connect(matchCase_, &QCheckBox::clicked, this, [this] {
        findPosition_ = 0;
        buildMatches();
    });
    connect(colour_, &QCheckBox::clicked, this, [this](bool on) {
        selectColour_->setEnabled(on);
        shapeColor_ = on ? kPanelColor : kShapeOff;
        QPalette p = shape_->palette();
        p.setColor(QPalette::Window, shapeColor_);
        shape_->setPalette(p);
    });
    connect(selectColour_, &Url::clicked, this, [this] {
        cCommonDialog dialog(&context_.dialogs());
        dialog.hwnd = window();
        dialog.Color = ColorValue(shapeColor_);
        dialog.ShowColor();
        if (dialog.Color > 0) {
            shapeColor_ = TranslateColor(dialog.Color);
            QPalette p = shape_->palette();
            p.setColor(QPalette::Window, shapeColor_);
            shape_->setPalette(p);
        }
    });
    connect(search_, &QPushButton::clicked, this, &FindPanel::findNext);
    reset();
}

void FindPanel::reset() {
    param_->clear();
    param_->addItems({QStringLiteral("Program Name"), QStringLiteral("Publisher Name")});
    param_->setCurrentIndex(0);
    findPosition_ = 0;
}

void FindPanel::focusSearchText() {
    text_->setFocus();
    text_->selectAll();
}

QColor FindPanel::foundColor() const {
    return shapeColor_;
}

void FindPanel::buildMatches() {
    matches_->clear();
    if (param_->currentIndex() < 0)
        return;
    const QString field = param_->currentText() == u"Program Name" ? QStringLiteral("DisplayName")
                                                                   : QStringLiteral("Publisher");
    QStringList keys;
    for (int row = 0; row < list_->count(); ++row)
        keys.append(list_->key(row));
    for (const int position :
         FindMatches(context_.entries(), keys, field, text_->text(), matchCase_->isChecked()))
        matches_->addItem(QString::number(position));
}

void FindPanel::findNext() {
    buildMatches();
    if (findPosition_ < matches_->count()) {
        const int row = matches_->item(findPosition_)->text().toInt() - 1;
        list_->selectRow(row);
        if (colour_->isChecked()) {
            list_->setItemBackground(row, shapeColor_);
            emit itemsColoured();
        }
        ++findPosition_;
        return;
    }
    context_.messages().MsgBox(
        QStringLiteral("Searching for \"") + text_->text() +
            QStringLiteral("\" was complete , Press 'Find Next' if you want to repeat the search."),
        MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Relvano"));
    findPosition_ = 0;
}
