#include "ui/PopoverView.h"

#include "ui/activity/ActivityTab.h"
#include "ui/kit/CrossFade.h"
#include "ui/kit/Glyphs.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/TabButton.h"
#include "ui/kit/Typography.h"
#include "ui/settab/SetCompletion.h"
#include "ui/settab/SetTab.h"
#include "ui/settings/SettingsTab.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <array>

namespace {
// The stack's pages, in tab order; any other tab index shows the set tab.
enum Page { setPage, activityPage, settingsPage };

struct Tab {
    char16_t glyph;
    const char* name;
    const char* objectName;
};
constexpr std::array<Tab, 3> tabs{{{Glyphs::setTab, "Set", "setTabButton"},
                                   {Glyphs::activityTab, "Activity", "activityTabButton"},
                                   {Glyphs::settingsTab, "Settings", "settingsTabButton"}}};

constexpr int headerSidePadding = 14;
constexpr int headerVerticalPadding = 10;
constexpr int headerSpacing = 8;
constexpr int tabSpacing = 14;
constexpr int room = TabButton::focusRoom; // the tab buttons' focus room, given back here

// A thin light thumb on no track, so the bar reads as part of the dark panel.
const QString scrollBarStyle = QStringLiteral(
    "QScrollBar:vertical { background: transparent; width: 6px; margin: 2px 1px 2px 0; }"
    "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 60); border-radius: 2px; min-height: "
    "24px; }"
    "QScrollBar::handle:vertical:hover { background: rgba(255, 255, 255, 110); }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }");

QPalette panelPalette(QPalette palette) {
    palette.setColor(QPalette::Window, Palette::panelBackground);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, Palette::cardBackground);
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, Palette::cardBackground);
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Highlight, Palette::accentCyan);
    return palette;
}
} // namespace

PopoverView::PopoverView(TrackerState& state, LaunchAtLoginBinding launchAtLogin, QWidget* parent)
    : QWidget(parent)
    , m_completion(new SetCompletion(state, this))
    , m_content(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("popoverView"));
    setPalette(panelPalette(palette()));
    setFixedWidth(panelWidth);
    resize(panelWidth, panelHeight);

    auto* settings = new SettingsTab(state, std::move(launchAtLogin));
    m_content->setObjectName(QStringLiteral("tabContent"));
    m_content->insertWidget(setPage, new SetTab(state, *m_completion));
    m_content->insertWidget(activityPage,
                            scrolling(new ActivityTab(state), QStringLiteral("activityScroll")));
    m_content->insertWidget(settingsPage, scrolling(settings, QStringLiteral("settingsScroll")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header());
    layout->addWidget(m_content, 1);
    m_crossFade = new CrossFade(this);

    m_tabButtons.first()->setSelected(true, 0);
    connect(settings, &SettingsTab::checkForUpdatesRequested, this, &PopoverView::checkForUpdatesRequested);
    connect(m_completion, &SetCompletion::lastCompletedIndexChanged, this,
            &PopoverView::lastCompletedIndexChanged);
}

int PopoverView::selectedTab() const {
    return m_selectedTab;
}

void PopoverView::selectTab(int index) {
    if (index == m_selectedTab) {
        return;
    }
    if (pageFor(index) != m_content->currentIndex()) {
        m_crossFade->start(m_content, tabTransitionMs);
    }
    m_selectedTab = index;
    m_content->setCurrentIndex(pageFor(index));
    for (int tab = 0; tab < m_tabButtons.size(); ++tab) {
        m_tabButtons[tab]->setSelected(tab == index, tabTransitionMs);
    }
    Q_EMIT selectedTabChanged();
}

std::optional<int> PopoverView::lastCompletedIndex() const {
    return m_completion->lastCompletedIndex();
}

QSize PopoverView::sizeHint() const {
    return QSize(panelWidth, panelHeight);
}

void PopoverView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Palette::panelBackground);
}

QWidget* PopoverView::header() {
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("header"));
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(headerSidePadding, headerVerticalPadding - room, headerSidePadding - room,
                               headerVerticalPadding - room);
    layout->setSpacing(headerSpacing);
    auto* mark = new PanelLabel(Glyphs::text(Glyphs::exerciseFigure), Glyphs::font(TabButton::glyphSize),
                                Palette::accentCyan, header);
    mark->setObjectName(QStringLiteral("mark"));
    layout->addWidget(mark);
    layout->addWidget(
        new PanelLabel(QStringLiteral("ZENTREL"), Typography::system(10, QFont::Bold, 2), Qt::white, header));
    layout->addStretch();
    layout->addWidget(tabBar());
    return header;
}

QWidget* PopoverView::tabBar() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(tabSpacing - 2 * room);
    for (int index = 0; index < int(tabs.size()); ++index) {
        auto* button = new TabButton(tabs[index].glyph, QString::fromLatin1(tabs[index].name), bar);
        button->setObjectName(QString::fromLatin1(tabs[index].objectName));
        connect(button, &TabButton::clicked, this, [this, index] { selectTab(index); });
        layout->addWidget(button);
        m_tabButtons.append(button);
    }
    return bar;
}

QScrollArea* PopoverView::scrolling(QWidget* content, const QString& name) {
    auto* area = new QScrollArea;
    area->setObjectName(name);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->verticalScrollBar()->setStyleSheet(scrollBarStyle);
    area->setWidgetResizable(true);
    area->setWidget(content);
    // setWidget makes the content paint its own background; the panel's shows through instead.
    content->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    return area;
}

int PopoverView::pageFor(int tab) const {
    return tab == activityPage || tab == settingsPage ? tab : setPage;
}
