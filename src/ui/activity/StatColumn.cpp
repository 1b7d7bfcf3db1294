#include "ui/activity/StatColumn.h"

#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/Typography.h"

#include <QVBoxLayout>

StatColumn::StatColumn(const QString& caption, QWidget* parent)
    : QWidget(parent)
    , m_value(new PanelLabel(QStringLiteral("0"), Typography::system(15, QFont::Bold), Qt::white, this))
    , m_caption(new PanelLabel(caption, Typography::system(8, QFont::Bold, 1), Palette::mutedGrey, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(m_value, 0, Qt::AlignHCenter);
    layout->addWidget(m_caption, 0, Qt::AlignHCenter);
}

void StatColumn::setValue(qint64 value) {
    m_value->setText(QString::number(value));
}

void StatColumn::setHighlighted(bool highlighted) {
    m_value->setColour(highlighted ? Palette::alertRed : QColor(Qt::white));
}

QString StatColumn::valueText() const {
    return m_value->text();
}
QColor StatColumn::valueColour() const {
    return m_value->colour();
}
QString StatColumn::caption() const {
    return m_caption->text();
}
