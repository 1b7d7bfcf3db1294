#include "ui/settings/ToggleRow.h"

#include "ui/kit/PanelLabel.h"
#include "ui/kit/Typography.h"
#include "ui/settings/SwitchToggle.h"

#include <QHBoxLayout>

ToggleRow::ToggleRow(const QString& caption, const QString& switchObjectName, QWidget* parent)
    : QWidget(parent)
    , m_switch(new SwitchToggle(this)) {
    m_switch->setObjectName(switchObjectName);
    m_switch->setAccessibleName(caption);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addWidget(new PanelLabel(caption, Typography::system(13, QFont::Medium), Qt::white, this), 0,
                      Qt::AlignVCenter);
    layout->addStretch();
    layout->addWidget(m_switch, 0, Qt::AlignVCenter);
    connect(m_switch, &SwitchToggle::clicked, this, &ToggleRow::toggledByUser);
}

bool ToggleRow::isChecked() const {
    return m_switch->isChecked();
}

void ToggleRow::setChecked(bool on) {
    m_switch->setChecked(on);
}
