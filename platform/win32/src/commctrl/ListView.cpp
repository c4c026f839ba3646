#include "commctrl/ListView.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScrollBar>
#include <cstring>

#include "commctrl/Glue.h"
#include "commctrl/ImageList.h"

namespace w32::cc {
namespace {

constexpr COLORREF kGridColor = 0xF0F0F0;
constexpr COLORREF kBorderColor = 0x9F9F9F;

}  // namespace

// ---------------------------------------------------------------------------
// Model
// ---------------------------------------------------------------------------
int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }
int ListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row(), col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return w32::ToQt(ctl_->Store().Text(row, col));
    case Qt::DecorationRole:
        if (col == 0 && ctl_->StateImages()) {
            int n = ctl_->StateImageOf(row);
            if (n > 0) {
                QImage img = Image(ctl_->StateImages(), n - 1);
                if (!img.isNull()) return QPixmap::fromImage(img);
            }
            // Keep the text where it is for rows without an image.
            int cx = 16, cy = 16;
            ImageList_GetIconSize(ctl_->StateImages(), &cx, &cy);
            QPixmap blank(cx, cy);
            blank.fill(Qt::transparent);
            return blank;
        }
        return {};
    case Qt::TextAlignmentRole: {
        if (col < static_cast<int>(ctl_->Columns().size())) {
            int fmt = ctl_->Columns()[col].fmt & LVCFMT_JUSTIFYMASK;
            if (fmt == LVCFMT_RIGHT) return int(Qt::AlignRight | Qt::AlignVCenter);
            if (fmt == LVCFMT_CENTER) return int(Qt::AlignHCenter | Qt::AlignVCenter);
        }
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default: return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(ctl_->Columns().size())) return {};
    if (role == Qt::DisplayRole) return w32::ToQt(ctl_->Columns()[section].text);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && (ctl_->Style() & LVS_EDITLABELS)) f |= Qt::ItemIsEditable;
    return f;
}

void ListModel::Sync(int rows, int cols) {
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    endResetModel();
}

void ListModel::CellsChanged(int firstRow, int lastRow) {
    if (rows_ == 0 || cols_ == 0) return;
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, rows_ - 1);
    if (firstRow > lastRow) return;
    emit dataChanged(index(firstRow, 0), index(lastRow, cols_ - 1));
}

void ListModel::HeaderChanged() {
    if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
}

// ---------------------------------------------------------------------------
// Label editing
// ---------------------------------------------------------------------------
QWidget* ListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    if (!ctl_->BeginLabelEdit(index.row())) return nullptr;
    auto* edit = new QLineEdit(parent);
    edit->setFrame(true);
    return edit;
}

QSize ListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(std::max(s.height(), QFontMetrics(option.font).height() + 4));
    return s;
}

void ListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(w32::ToQt(ctl_->Store().Text(index.row(), 0)));
        edit->selectAll();
    }
}

void ListDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        std::string text = w32::FromQt(edit->text());
        ctl_->EndLabelEdit(index.row(), text.c_str());
    }
}

// ---------------------------------------------------------------------------
// View
// ---------------------------------------------------------------------------
namespace {

// A header as tall as its own font needs, as a Win32 header is. Qt's own
// measures each section's text in the font made bold (for highlighted
// sections, which this header never shows), loading bold faces only for that.
class ListHeader : public QHeaderView {
public:
    explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override {
        if (!model()) return QSize();
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.section = logicalIndex;
        opt.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        return style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), this);
    }
};

// The list's one-pixel border, drawn over the edges of what it holds: the
// columns and the scroll bars use the whole window, as they use the client
// area of a Win32 list.
class ListBorder : public QWidget {
public:
    explicit ListBorder(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(w32::ToQColor(kBorderColor));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

}  // namespace

ListTree::ListTree(ListViewCtl* ctl, QWidget* parent) : QTreeView(parent), ctl_(ctl), border_(new ListBorder(this)) {
    setHeader(new ListHeader(this));
    setRootIsDecorated(false);
    setIndentation(0);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFrameShape(QFrame::NoFrame);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);
    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setMinimumSectionSize(0);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setHighlightSections(false);
}

int ListTree::RowAt(QPoint pos) const {
    QModelIndex idx = indexAt(pos);
    return idx.isValid() ? idx.row() : -1;
}

int ListTree::ColumnAt(QPoint pos) const {
    QModelIndex idx = indexAt(pos);
    return idx.isValid() ? idx.column() : -1;
}

QRect ListTree::RowRect(int row) const {
    if (!model() || row < 0 || row >= model()->rowCount()) return {};
    QRect r = visualRect(model()->index(row, 0));
    return QRect(-header()->offset(), r.top(), header()->length(), r.height());
}

QRect ListTree::StateIconRect(int row) const {
    if (!model() || row < 0 || row >= model()->rowCount() || model()->columnCount() == 0) return {};
    QRect cell = visualRect(model()->index(row, 0));
    int cx = 16, cy = 16;
    if (ctl_->StateImages()) ImageList_GetIconSize(ctl_->StateImages(), &cx, &cy);
    QStyleOptionViewItem opt;
    initViewItemOption(&opt);
    opt.rect = cell;
    opt.index = model()->index(row, 0);
    opt.features |= QStyleOptionViewItem::HasDecoration;
    opt.decorationSize = QSize(cx, cy);
    QRect deco = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, this);
    return deco.isValid() ? deco : QRect(cell.left() + 2, cell.top(), cx, cell.height());
}

int ListTree::TopRow() const {
    const int row = RowAt(QPoint(1, 1));
    return row < 0 ? 0 : row;
}

int ListTree::RowHeight() const {
    const int h =
        model() && model()->rowCount() > 0 && model()->columnCount() > 0 ? rowHeight(model()->index(0, 0)) : 0;
    return h > 0 ? h : fontMetrics().height() + 3;
}

int ListTree::RowsPerPage() const { return viewport()->height() / RowHeight(); }

void ListTree::resizeEvent(QResizeEvent* e) {
    QTreeView::resizeEvent(e);
    border_->setGeometry(rect());
    border_->raise();
}

void ListTree::updateGeometries() {
    QTreeView::updateGeometries();
    // An arrow of the horizontal bar scrolls by a character's width, not by a column.
    horizontalScrollBar()->setSingleStep(std::max(fontMetrics().averageCharWidth(), 1));
}

QModelIndex ListTree::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const int count = model() ? model()->rowCount() : 0;
    if ((action != MovePageDown && action != MovePageUp) || count == 0 || model()->columnCount() == 0)
        return QTreeView::moveCursor(action, modifiers);
    // Page keys first go to the last (first) row wholly in view; from there
    // a page less one row further: the row they leave becomes the top
    // (bottom) row in view.
    const int page = std::max(RowsPerPage(), 1);
    const int step = std::max(page - 1, 1);
    const int top = TopRow();
    const int cur = currentIndex().isValid() ? currentIndex().row() : top;
    int row = 0;
    if (action == MovePageDown) {
        const int last = std::min(top + page - 1, count - 1);
        row = std::min(cur < last ? last : cur + step, count - 1);
    } else {
        row = std::max(cur > top ? top : cur - step, 0);
    }
    return model()->index(row, currentIndex().isValid() ? currentIndex().column() : 0);
}

void ListTree::SetHot(int row) {
    if (row == hot_) return;
    QRect old = RowRect(hot_);
    hot_ = row;
    if (!old.isEmpty()) viewport()->update(old);
    QRect now = RowRect(hot_);
    if (!now.isEmpty()) viewport()->update(now);
}

void ListTree::paintEvent(QPaintEvent* e) {
    NMLVCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    cd.nmcd.rc = RECT{0, 0, viewport()->width(), viewport()->height()};
    cd.clrText = ctl_->TextColor();
    cd.clrTextBk = ctl_->TextBkColor();
    LRESULT r = ctl_->Notify(NM_CUSTOMDRAW, &cd.nmcd.hdr);
    if (r & CDRF_SKIPDEFAULT) return;
    itemDraw_ = (r & CDRF_NOTIFYITEMDRAW) != 0;
    QTreeView::paintEvent(e);
    if (ctl_->ExStyle() & LVS_EX_GRIDLINES) {
        QPainter p(viewport());
        p.setPen(w32::ToQColor(kGridColor));
        const int h = viewport()->height();
        // Vertical lines at the right edge of every column.
        for (int c = 0; c < header()->count(); ++c) {
            int x = header()->sectionViewportPosition(c) + header()->sectionSize(c) - 1;
            p.drawLine(x, 0, x, h);
        }
        // Horizontal lines under every row, also below the last one.
        const int rowH = RowHeight();
        int y0 = -1;  // the line above the top row in view
        if (model() && model()->rowCount() > 0) {
            const QModelIndex top = indexAt(QPoint(1, 1));
            y0 = visualRect(model()->index(top.isValid() ? top.row() : 0, 0)).top() - 1;
        }
        const int width = header()->length() - header()->offset();
        for (int y = y0 + rowH; y < h; y += rowH) p.drawLine(0, y, width, y);
    }
    if (r & CDRF_NOTIFYPOSTPAINT) {
        cd.nmcd.dwDrawStage = CDDS_POSTPAINT;
        ctl_->Notify(NM_CUSTOMDRAW, &cd.nmcd.hdr);
    }
}

void ListTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int row = index.row();
    QStyleOptionViewItem opt = option;
    COLORREF bk = ctl_->TextBkColor();
    COLORREF fg = ctl_->TextColor();
    LRESULT r = 0;
    NMLVCUSTOMDRAW cd{};
    const QRect rowRect(-header()->offset(), option.rect.top(), header()->length(), option.rect.height());
    if (itemDraw_) {
        cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        cd.nmcd.rc = ToRect(rowRect);
        cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
        UINT st = 0;
        if (selectionModel() && selectionModel()->isRowSelected(row, QModelIndex())) st |= CDIS_SELECTED;
        if (currentIndex().row() == row && hasFocus()) st |= CDIS_FOCUS;
        if (row == hot_) st |= CDIS_HOT;
        cd.nmcd.uItemState = st;
        cd.nmcd.lItemlParam = ctl_->Store().Param(row);
        cd.clrText = fg;
        cd.clrTextBk = bk;
        r = ctl_->Notify(NM_CUSTOMDRAW, &cd.nmcd.hdr);
        if (r & CDRF_SKIPDEFAULT) return;
        bk = cd.clrTextBk;
        fg = cd.clrText;
    }
    if (bk != CLR_NONE && bk != CLR_DEFAULT) painter->fillRect(rowRect, w32::ToQColor(bk));
    if (fg != CLR_DEFAULT) opt.palette.setColor(QPalette::Text, w32::ToQColor(fg));
    if (row == hot_ && (ctl_->ExStyle() & LVS_EX_ONECLICKACTIVATE)) {
        opt.palette.setColor(QPalette::Text, QColor(0, 0, 255));
        opt.font.setUnderline(true);
        painter->save();
        painter->setFont(opt.font);
    }
    QTreeView::drawRow(painter, opt, index);
    if (row == hot_ && (ctl_->ExStyle() & LVS_EX_ONECLICKACTIVATE)) painter->restore();
    if (itemDraw_ && (r & CDRF_NOTIFYPOSTPAINT)) {
        cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
        ctl_->Notify(NM_CUSTOMDRAW, &cd.nmcd.hdr);
    }
}

void ListTree::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) header()->setFont(font());
    QTreeView::changeEvent(e);
}

bool ListTree::viewportEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        ctl_->Flush();  // hit tests must see every row
        break;
    default: break;
    }
    return QTreeView::viewportEvent(e);
}

void ListTree::mousePressEvent(QMouseEvent* e) {
    iconPress_ = false;
    afterDouble_ = false;
    const QPoint pos = e->position().toPoint();
    const int row = RowAt(pos);
    if (e->button() == Qt::LeftButton && row >= 0 && (ctl_->ExStyle() & LVS_EX_CHECKBOXES) && ColumnAt(pos) == 0 &&
        StateIconRect(row).contains(pos)) {
        iconPress_ = true;
        ctl_->ToggleCheck(row);
        e->accept();
        return;
    }
    QTreeView::mousePressEvent(e);
}

void ListTree::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const bool icon = iconPress_;
    iconPress_ = false;
    if (!icon) QTreeView::mouseReleaseEvent(e);
    if (afterDouble_) {
        afterDouble_ = false;
        return;
    }
    const int row = RowAt(pos), col = ColumnAt(pos);
    if (e->button() == Qt::LeftButton) {
        ctl_->NotifyItem(NM_CLICK, row, row >= 0 ? col : 0, pos);
        if (row >= 0 && (ctl_->ExStyle() & LVS_EX_ONECLICKACTIVATE)) ctl_->NotifyItem(LVN_ITEMACTIVATE, row, col, pos);
    } else if (e->button() == Qt::RightButton) {
        ctl_->NotifyItem(NM_RCLICK, row, row >= 0 ? col : 0, pos);
    }
}

void ListTree::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const int row = RowAt(pos), col = ColumnAt(pos);
    QTreeView::mouseDoubleClickEvent(e);
    afterDouble_ = true;
    if (e->button() == Qt::LeftButton)
        ctl_->NotifyItem(NM_DBLCLK, row, row >= 0 ? col : 0, pos);
    else if (e->button() == Qt::RightButton)
        ctl_->NotifyItem(NM_RDBLCLK, row, row >= 0 ? col : 0, pos);
}

void ListTree::mouseMoveEvent(QMouseEvent* e) {
    QTreeView::mouseMoveEvent(e);
    const QPoint pos = e->position().toPoint();
    const int row = RowAt(pos);
    if (ctl_->ExStyle() & (LVS_EX_ONECLICKACTIVATE | LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE)) {
        SetHot(row);
        ctl_->NotifyItem(LVN_HOTTRACK, row, row >= 0 ? ColumnAt(pos) : 0, pos);
    }
}

void ListTree::leaveEvent(QEvent* e) {
    SetHot(-1);
    QTreeView::leaveEvent(e);
}

void ListTree::keyPressEvent(QKeyEvent* e) {
    NMLVKEYDOWN kd{};
    kd.wVKey = static_cast<WORD>(e->nativeVirtualKey() ? e->nativeVirtualKey() : e->key() & 0xFFFF);
    switch (e->key()) {  // Win32 virtual-key codes of the keys a list reacts to
    case Qt::Key_Space: kd.wVKey = 0x20; break;
    case Qt::Key_Up: kd.wVKey = 0x26; break;
    case Qt::Key_Down: kd.wVKey = 0x28; break;
    case Qt::Key_F2: kd.wVKey = 0x71; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: kd.wVKey = 0x0D; break;
    default: break;
    }
    ctl_->Notify(LVN_KEYDOWN, &kd.hdr);
    if (e->key() == Qt::Key_Space && (ctl_->ExStyle() & LVS_EX_CHECKBOXES) && currentIndex().isValid()) {
        ctl_->ToggleCheck(currentIndex().row());
        e->accept();
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && state() != EditingState) {
        NMHDR hdr{};
        ctl_->Notify(NM_RETURN, &hdr);
    }
    QTreeView::keyPressEvent(e);
}

bool ListTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // F2 edits the label of the focused row whichever cell has the focus.
    if (trigger == EditKeyPressed && index.isValid() && index.column() != 0)
        return QTreeView::edit(index.sibling(index.row(), 0), trigger, event);
    return QTreeView::edit(index, trigger, event);
}

void ListTree::CancelEdit() {
    if (state() != EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return;
    }
    // The editor is not an index widget: find it among the viewport's children.
    for (QLineEdit* edit : viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        closeEditor(edit, QAbstractItemDelegate::RevertModelCache);
}

void ListTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint == QAbstractItemDelegate::RevertModelCache && currentIndex().isValid())
        ctl_->EndLabelEdit(currentIndex().row(), nullptr);
    QTreeView::closeEditor(editor, hint);
}

// ---------------------------------------------------------------------------
// Control
// ---------------------------------------------------------------------------
ListViewCtl::ListViewCtl(HWND hwnd, DWORD style, QWidget* parent) : hwnd_(hwnd), style_(style) {
    model_ = new ListModel(this);
    model_->setParent(this);
    tree_ = new ListTree(this, parent);
    setParent(tree_);  // the control goes with its widget
    tree_->setModel(model_);
    tree_->setItemDelegate(new ListDelegate(this, tree_));
    tree_->setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                    : QAbstractItemView::ExtendedSelection);
    tree_->setEditTriggers((style & LVS_EDITLABELS)
                               ? (QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed)
                               : QAbstractItemView::NoEditTriggers);
    tree_->header()->setVisible(!(style & LVS_NOCOLUMNHEADER));
    tree_->header()->setSectionsClickable(!(style & LVS_NOSORTHEADER));
    tree_->setHorizontalScrollBarPolicy((style & LVS_NOSCROLL) ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    tree_->setVerticalScrollBarPolicy((style & LVS_NOSCROLL) ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    QPalette pal = tree_->palette();
    pal.setColor(QPalette::Base, w32::ToQColor(bkColor_));
    if (!(style & LVS_SHOWSELALWAYS)) {
        // Without LVS_SHOWSELALWAYS the selection shows only while the list has the focus.
        pal.setColor(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText, w32::ToQColor(textColor_));
    }
    tree_->setPalette(pal);
    connect(tree_->header(), &QHeaderView::sectionClicked, this, [this](int logical) {
        NMLISTVIEW nm{};
        nm.iItem = -1;
        nm.iSubItem = logical;
        Notify(LVN_COLUMNCLICK, &nm.hdr);
    });
    connect(tree_->header(), &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (logical >= 0 && logical < static_cast<int>(columns_.size())) columns_[logical].width = size;
    });
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListViewCtl::SyncSelectionToStore);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now, const QModelIndex& before) {
                if (syncingSelection_) return;
                if (before.isValid()) store_.SetState(before.row(), 0, LVIS_FOCUSED);
                if (now.isValid()) store_.SetState(now.row(), LVIS_FOCUSED, LVIS_FOCUSED);
            });
}

ListViewCtl::~ListViewCtl() {
    if (ownCheckList_) ImageList_Destroy(ownCheckList_);
    // The tree belongs to the parent widget chain; it may already be gone.
}

void ListViewCtl::ScheduleFlush() {
    if (flushPending_) return;
    flushPending_ = true;
    QMetaObject::invokeMethod(this, &ListViewCtl::Flush, Qt::QueuedConnection);
}

void ListViewCtl::Flush() {
    flushPending_ = false;
    if (structureDirty_) {
        structureDirty_ = false;
        dirtyFirst_ = dirtyLast_ = -1;
        headerDirty_ = false;
        const int hv = tree_->horizontalScrollBar()->value();
        model_->Sync(store_.Count(), static_cast<int>(columns_.size()));
        ApplyColumns();
        ApplySelectionFromStore();
        tree_->horizontalScrollBar()->setValue(hv);
        return;
    }
    if (headerDirty_) {
        headerDirty_ = false;
        model_->HeaderChanged();
        ApplyColumns();
    }
    if (dirtyFirst_ >= 0) {
        model_->CellsChanged(dirtyFirst_, dirtyLast_);
        dirtyFirst_ = dirtyLast_ = -1;
    }
}

void ListViewCtl::RowChanged(int row) {
    if (dirtyFirst_ < 0 || row < dirtyFirst_) dirtyFirst_ = row;
    if (row > dirtyLast_) dirtyLast_ = row;
    ScheduleFlush();
}

void ListViewCtl::ApplyColumns() {
    QHeaderView* h = tree_->header();
    for (int i = 0; i < static_cast<int>(columns_.size()) && i < h->count(); ++i)
        if (h->sectionSize(i) != columns_[i].width) h->resizeSection(i, columns_[i].width);
}

void ListViewCtl::SyncSelectionToStore(const QItemSelection& selected, const QItemSelection& deselected) {
    if (syncingSelection_) return;
    // The user changed the selection (mouse or keys): the store takes all of
    // it first, then the parent hears LVN_ITEMCHANGED for each row whose
    // selected state changed, so that it reads the whole new selection.
    std::vector<std::pair<int, uint32_t>> changed;  // row, state before
    auto apply = [&](const QItemSelection& s, UINT state) {
        for (const QItemSelectionRange& r : s)
            for (int row = r.top(); row <= r.bottom(); ++row) {
                const uint32_t before = store_.State(row);
                store_.SetState(row, state, LVIS_SELECTED);
                if (store_.State(row) != before) changed.emplace_back(row, before);
            }
    };
    apply(deselected, 0);
    apply(selected, LVIS_SELECTED);
    QPointer<ListViewCtl> alive(this);
    for (const auto& [row, before] : changed) {
        NMLISTVIEW nm{};
        nm.iItem = row;
        nm.uChanged = LVIF_STATE;
        nm.uOldState = before;
        nm.uNewState = store_.State(row);
        if (nm.uOldState == nm.uNewState) continue;
        nm.lParam = store_.Param(row);
        Notify(LVN_ITEMCHANGED, &nm.hdr);
        if (!alive) return;
    }
}

void ListViewCtl::ApplySelectionFromStore() {
    QItemSelectionModel* sm = tree_->selectionModel();
    const int cols = static_cast<int>(columns_.size());
    if (!sm || cols == 0) return;
    syncingSelection_ = true;
    QItemSelection sel;
    int focused = -1;
    for (int row = 0, n = store_.Count(); row < n; ++row) {
        uint32_t st = store_.State(row);
        if (st & LVIS_FOCUSED) focused = row;
        if (!(st & LVIS_SELECTED)) continue;
        int end = row;
        while (end + 1 < n && (store_.State(end + 1) & LVIS_SELECTED)) {
            ++end;
            if (store_.State(end) & LVIS_FOCUSED) focused = end;
        }
        sel.select(model_->index(row, 0), model_->index(end, cols - 1));
        row = end;
    }
    sm->select(sel, QItemSelectionModel::ClearAndSelect);
    if (focused >= 0) sm->setCurrentIndex(model_->index(focused, 0), QItemSelectionModel::NoUpdate);
    syncingSelection_ = false;
}

void ListViewCtl::SetRowState(int row, UINT state, UINT mask) {
    const uint32_t before = store_.State(row);
    store_.SetState(row, state, mask);
    const uint32_t after = store_.State(row);
    if (before == after) return;
    if ((before ^ after) & (LVIS_SELECTED | LVIS_FOCUSED)) {
        // While rows are pending the selection reaches the view at the next flush.
        if (!structureDirty_ && row < model_->rowCount()) {
            syncingSelection_ = true;
            QItemSelectionModel* sm = tree_->selectionModel();
            const int cols = static_cast<int>(columns_.size());
            if (cols > 0) {
                if ((before ^ after) & LVIS_SELECTED)
                    sm->select(QItemSelection(model_->index(row, 0), model_->index(row, cols - 1)),
                               (after & LVIS_SELECTED) ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
                if ((after & LVIS_FOCUSED) && !(before & LVIS_FOCUSED))
                    sm->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
            }
            syncingSelection_ = false;
        }
    }
    RowChanged(row);
}

void ListViewCtl::EnsureDefaultCheckImages() {
    if (!ownCheckList_) {
        ownCheckList_ = ImageList_Create(16, 16, ILC_COLOR32, 2, 0);
        for (int checked = 0; checked < 2; ++checked) {
            QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            QPainter p(&img);
            p.setPen(QColor(0x33, 0x33, 0x33));
            p.setBrush(Qt::white);
            p.drawRect(2, 2, 12, 12);
            if (checked) {
                p.setPen(QPen(QColor(0, 0, 0), 2));
                p.drawLine(4, 8, 7, 11);
                p.drawLine(7, 11, 12, 4);
            }
            p.end();
            ReplaceImage(ownCheckList_, -1, img);
        }
    }
    if (!stateList_) stateList_ = ownCheckList_;
}

LRESULT ListViewCtl::Notify(UINT code, NMHDR* hdr) { return SendNotify(hwnd_, code, hdr); }

LRESULT ListViewCtl::NotifyItem(UINT code, int row, int sub, QPoint pt) {
    NMITEMACTIVATE nm{};
    nm.iItem = row;
    nm.iSubItem = sub;
    const QPoint client = tree_->viewport()->mapTo(tree_, pt);  // the window's client coordinates
    nm.ptAction = POINT{client.x(), client.y()};
    if (row >= 0) {
        nm.uNewState = nm.uOldState = store_.State(row);
        nm.lParam = store_.Param(row);
    }
    Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    if (mods & Qt::ShiftModifier) nm.uKeyFlags |= 0x0004;    // LVKF_SHIFT
    if (mods & Qt::ControlModifier) nm.uKeyFlags |= 0x0002;  // LVKF_CONTROL
    if (mods & Qt::AltModifier) nm.uKeyFlags |= 0x0001;      // LVKF_ALT
    return Notify(code, &nm.hdr);
}

void ListViewCtl::UpdateCursor() {
    const bool hand = (exStyle_ & LVS_EX_ONECLICKACTIVATE) && tree_->Hot() >= 0;
    SetCursor(LoadCursorA(nullptr, hand ? IDC_HAND : IDC_ARROW));
}

void ListViewCtl::ToggleCheck(int row) {
    if (store_.Valid(row))
        ChangeRowState(row, INDEXTOSTATEIMAGEMASK(StateImageOf(row) == 1 ? 2 : 1), LVIS_STATEIMAGEMASK);
}

bool ListViewCtl::ChangeRowState(int row, UINT state, UINT mask) {
    const int first = row < 0 ? 0 : row, end = row < 0 ? store_.Count() : row + 1;
    bool alters = false;
    for (int r = first; r < end && !alters; ++r) alters = ((store_.State(r) ^ state) & mask) != 0;
    if (!alters) return true;
    NMLISTVIEW nm{};
    nm.iItem = row;
    nm.uChanged = LVIF_STATE;
    nm.uNewState = state & mask;
    if (row >= 0) {
        nm.uOldState = store_.State(row);
        nm.uNewState |= nm.uOldState & ~mask;
        nm.lParam = store_.Param(row);
    }
    QPointer<ListViewCtl> alive(this);
    if (Notify(LVN_ITEMCHANGING, &nm.hdr) || !alive) return false;
    for (int r = first; r < end; ++r) SetRowState(r, state, mask);
    Notify(LVN_ITEMCHANGED, &nm.hdr);
    return true;
}

bool ListViewCtl::BeginLabelEdit(int row) {
    if (!store_.Valid(row)) return false;
    std::string text(store_.Text(row, 0));
    NMLVDISPINFOA di{};
    di.item.mask = LVIF_TEXT;
    di.item.iItem = row;
    di.item.pszText = text.data();
    di.item.cchTextMax = static_cast<int>(text.size()) + 1;
    di.item.lParam = store_.Param(row);
    return Notify(LVN_BEGINLABELEDITA, &di.hdr) == 0;
}

void ListViewCtl::EndLabelEdit(int row, const char* text) {
    if (!store_.Valid(row)) return;
    std::string buf = text ? std::string(text) : std::string();
    NMLVDISPINFOA di{};
    di.item.mask = LVIF_TEXT;
    di.item.iItem = row;
    di.item.pszText = text ? buf.data() : nullptr;
    di.item.cchTextMax = text ? static_cast<int>(buf.size()) + 1 : 0;
    di.item.lParam = store_.Param(row);
    if (Notify(LVN_ENDLABELEDITA, &di.hdr) && text) {
        store_.SetText(row, 0, buf);
        RowChanged(row);
    }
}

void ListViewCtl::ApplyExStyle() {
    tree_->setMouseTracking((exStyle_ & (LVS_EX_ONECLICKACTIVATE | LVS_EX_TRACKSELECT | LVS_EX_TWOCLICKACTIVATE)) != 0);
    if (!(exStyle_ & LVS_EX_ONECLICKACTIVATE)) tree_->SetHot(-1);
    if (exStyle_ & LVS_EX_CHECKBOXES) {
        EnsureDefaultCheckImages();
        for (int row = 0, n = store_.Count(); row < n; ++row)
            if (!(store_.State(row) & LVIS_STATEIMAGEMASK))
                store_.SetState(row, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    }
    tree_->viewport()->update();
}

LRESULT ListViewCtl::InsertItem(const LVITEMA* item) {
    if (!item || item->iItem < 0) return -1;
    std::string_view text = (item->mask & LVIF_TEXT) ? InText(item->pszText) : std::string_view();
    uint32_t state = (item->mask & LVIF_STATE) ? (item->state & item->stateMask) : 0;
    if ((exStyle_ & LVS_EX_CHECKBOXES) && !(state & LVIS_STATEIMAGEMASK)) state |= INDEXTOSTATEIMAGEMASK(1);
    intptr_t param = (item->mask & LVIF_PARAM) ? item->lParam : 0;
    int row = store_.Insert(item->iItem, text, state, param);
    if (row < 0) return -1;
    structureDirty_ = true;
    ScheduleFlush();
    return row;
}

LRESULT ListViewCtl::SetItem(const LVITEMA* item) {
    if (!item || !store_.Valid(item->iItem) || item->iSubItem < 0) return FALSE;
    if (item->iSubItem > 0 && item->iSubItem >= static_cast<int>(columns_.size())) return FALSE;
    const int row = item->iItem;
    if ((item->mask & LVIF_TEXT) && !store_.SetText(row, item->iSubItem, InText(item->pszText))) return FALSE;
    if ((item->mask & LVIF_PARAM) && item->iSubItem == 0) store_.SetParam(row, item->lParam);
    if ((item->mask & LVIF_STATE) && item->stateMask) SetRowState(row, item->state, item->stateMask);
    if (row < model_->rowCount()) RowChanged(row);
    return TRUE;
}

LRESULT ListViewCtl::GetItem(LVITEMA* item) {
    if (!item || !store_.Valid(item->iItem)) return FALSE;
    const int row = item->iItem;
    if (item->mask & LVIF_TEXT) w32::CopyText(item->pszText, item->cchTextMax, store_.Text(row, item->iSubItem));
    if (item->mask & LVIF_STATE) item->state = store_.State(row) & item->stateMask;
    if (item->mask & LVIF_PARAM) item->lParam = store_.Param(row);
    if (item->mask & LVIF_IMAGE) item->iImage = -1;
    return TRUE;
}

LRESULT ListViewCtl::GetItemText(int row, LVITEMA* item) {
    if (!item) return 0;
    // A row beyond the list reads as an empty text.
    return w32::CopyText(item->pszText, item->cchTextMax, store_.Text(row, item->iSubItem));
}

LRESULT ListViewCtl::InsertColumn(int index, const LVCOLUMNA* col) {
    if (!col || index < 0) return -1;
    if (index > static_cast<int>(columns_.size())) index = static_cast<int>(columns_.size());
    Column c;
    if (col->mask & LVCF_TEXT) c.text = std::string(InText(col->pszText));
    c.width = (col->mask & LVCF_WIDTH) ? std::max(col->cx, 0) : 50;
    c.fmt = (col->mask & LVCF_FMT) ? col->fmt : LVCFMT_LEFT;
    columns_.insert(columns_.begin() + index, c);
    store_.SetCellHint(static_cast<int>(columns_.size()));
    structureDirty_ = true;
    ScheduleFlush();
    return index;
}

LRESULT ListViewCtl::SetColumn(int index, const LVCOLUMNA* col) {
    if (!col || index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
    Column& c = columns_[index];
    if (col->mask & LVCF_TEXT) c.text = std::string(InText(col->pszText));
    if (col->mask & LVCF_WIDTH) c.width = std::max(col->cx, 0);
    if (col->mask & LVCF_FMT) c.fmt = col->fmt;
    headerDirty_ = true;
    Flush();  // captions change at once
    tree_->header()->viewport()->update();
    return TRUE;
}

LRESULT ListViewCtl::GetColumn(int index, LVCOLUMNA* col) {
    if (!col || index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
    const Column& c = columns_[index];
    if (col->mask & LVCF_TEXT) w32::CopyText(col->pszText, col->cchTextMax, c.text);
    if (col->mask & LVCF_WIDTH) col->cx = c.width;
    if (col->mask & LVCF_FMT) col->fmt = c.fmt;
    if (col->mask & LVCF_SUBITEM) col->iSubItem = index;
    if (col->mask & LVCF_ORDER) col->iOrder = index;
    return TRUE;
}

LRESULT ListViewCtl::HitTest(LVHITTESTINFO* info) {
    if (!info) return -1;
    Flush();
    const QPoint pos = tree_->viewport()->mapFrom(tree_, QPoint(info->pt.x, info->pt.y));
    const int row = tree_->RowAt(pos);
    info->iItem = row;
    info->iSubItem = row >= 0 ? tree_->ColumnAt(pos) : -1;
    if (row < 0) {
        info->flags = LVHT_NOWHERE;
        return -1;
    }
    info->flags = (stateList_ && tree_->StateIconRect(row).contains(pos) && info->iSubItem == 0) ? LVHT_ONITEMSTATEICON
                                                                                                 : LVHT_ONITEMLABEL;
    return row;
}

LRESULT ListViewCtl::Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = true;
    switch (msg) {
    case LVM_GETITEMCOUNT: return store_.Count();
    case LVM_INSERTITEMA: return InsertItem(reinterpret_cast<const LVITEMA*>(lp));
    case LVM_SETITEMA: return SetItem(reinterpret_cast<const LVITEMA*>(lp));
    case LVM_GETITEMA: return GetItem(reinterpret_cast<LVITEMA*>(lp));
    case LVM_SETITEMTEXTA: {
        auto* item = reinterpret_cast<const LVITEMA*>(lp);
        if (!item) return FALSE;
        LVITEMA copy = *item;
        copy.iItem = static_cast<int>(wp);
        copy.mask = LVIF_TEXT;
        return SetItem(&copy);
    }
    case LVM_GETITEMTEXTA: return GetItemText(static_cast<int>(wp), reinterpret_cast<LVITEMA*>(lp));
    case LVM_GETITEMSTATE:
        return store_.Valid(static_cast<int>(wp))
                   ? static_cast<LRESULT>(store_.State(static_cast<int>(wp)) & static_cast<UINT>(lp))
                   : 0;
    case LVM_SETITEMSTATE: {
        auto* item = reinterpret_cast<const LVITEMA*>(lp);
        if (!item) return FALSE;
        const int row = static_cast<int>(static_cast<intptr_t>(wp));
        if (row != -1 && !store_.Valid(row)) return FALSE;
        return ChangeRowState(row, item->state, item->stateMask);
    }
    case LVM_DELETEITEM:
        if (!store_.Erase(static_cast<int>(wp))) return FALSE;
        structureDirty_ = true;
        ScheduleFlush();
        return TRUE;
    case LVM_DELETEALLITEMS:
        tree_->CancelEdit();
        store_.Clear();
        structureDirty_ = true;
        ScheduleFlush();
        return TRUE;
    case LVM_INSERTCOLUMNA: return InsertColumn(static_cast<int>(wp), reinterpret_cast<const LVCOLUMNA*>(lp));
    case LVM_SETCOLUMNA: return SetColumn(static_cast<int>(wp), reinterpret_cast<const LVCOLUMNA*>(lp));
    case LVM_GETCOLUMNA: return GetColumn(static_cast<int>(wp), reinterpret_cast<LVCOLUMNA*>(lp));
    case LVM_DELETECOLUMN:
        if (static_cast<int>(wp) < 0 || static_cast<int>(wp) >= static_cast<int>(columns_.size())) return FALSE;
        columns_.erase(columns_.begin() + static_cast<int>(wp));
        store_.SetCellHint(static_cast<int>(columns_.size()));
        structureDirty_ = true;
        ScheduleFlush();
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        return static_cast<int>(wp) >= 0 && static_cast<int>(wp) < static_cast<int>(columns_.size())
                   ? columns_[static_cast<int>(wp)].width
                   : 0;
    case LVM_SETCOLUMNWIDTH: {
        const int i = static_cast<int>(wp);
        if (i < 0 || i >= static_cast<int>(columns_.size())) return FALSE;
        columns_[i].width = std::max(static_cast<int>(static_cast<short>(LOWORD(lp))), 0);
        headerDirty_ = true;
        ScheduleFlush();
        return TRUE;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD old = exStyle_;
        const DWORD mask = static_cast<DWORD>(wp);
        exStyle_ = mask ? ((exStyle_ & ~mask) | (static_cast<DWORD>(lp) & mask)) : static_cast<DWORD>(lp);
        ApplyExStyle();
        return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return exStyle_;
    case LVM_SETIMAGELIST: {
        HIMAGELIST himl = reinterpret_cast<HIMAGELIST>(lp);
        HIMAGELIST* slot = wp == LVSIL_STATE ? &stateList_ : wp == LVSIL_SMALL ? &smallList_ : &normalList_;
        HIMAGELIST old = *slot;
        *slot = himl;
        if (wp == LVSIL_STATE) {
            int cx = 16, cy = 16;
            if (himl) ImageList_GetIconSize(himl, &cx, &cy);
            tree_->setIconSize(himl ? QSize(cx, cy) : QSize());
            tree_->doItemsLayout();
            tree_->viewport()->update();
        }
        // The check-box list the control made goes to the caller, as any
        // previous list does.
        if (old && old == ownCheckList_) ownCheckList_ = nullptr;
        return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wp == LVSIL_STATE ? stateList_ : wp == LVSIL_SMALL ? smallList_ : normalList_);
    case LVM_GETNEXTITEM: {
        const int start = static_cast<int>(static_cast<intptr_t>(wp));
        const UINT flags = static_cast<UINT>(LOWORD(lp));
        for (int r = start + 1, n = store_.Count(); r < n; ++r) {
            uint32_t st = store_.State(r);
            if ((flags & LVNI_SELECTED) && !(st & LVIS_SELECTED)) continue;
            if ((flags & LVNI_FOCUSED) && !(st & LVIS_FOCUSED)) continue;
            return r;
        }
        return -1;
    }
    case LVM_GETSELECTEDCOUNT: {
        int n = 0;
        for (int r = 0, c = store_.Count(); r < c; ++r) n += (store_.State(r) & LVIS_SELECTED) ? 1 : 0;
        return n;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: return HitTest(reinterpret_cast<LVHITTESTINFO*>(lp));
    case LVM_GETITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        Flush();
        const int row = static_cast<int>(wp);
        if (!rc || !store_.Valid(row)) return FALSE;
        QRect r = tree_->RowRect(row);
        if (rc->left == LVIR_ICON || rc->left == LVIR_LABEL) {
            // Column 0 only; the icon part is the state image.
            QRect cell = tree_->visualRect(model_->index(row, 0));
            QRect icon = stateList_ ? tree_->StateIconRect(row) : QRect(cell.left(), cell.top(), 0, cell.height());
            r = rc->left == LVIR_ICON ? icon : QRect(QPoint(icon.right() + 1, cell.top()), cell.bottomRight());
        }
        r.moveTopLeft(tree_->viewport()->mapTo(tree_, r.topLeft()));
        *rc = ToRect(r);
        return TRUE;
    }
    case LVM_ENSUREVISIBLE:
        Flush();
        if (!store_.Valid(static_cast<int>(wp)) || columns_.empty()) return FALSE;
        tree_->scrollTo(model_->index(static_cast<int>(wp), 0));
        return TRUE;
    case LVM_GETTOPINDEX: Flush(); return tree_->TopRow();
    case LVM_GETCOUNTPERPAGE: Flush(); return tree_->RowsPerPage();
    case LVM_EDITLABELA: {
        Flush();
        const int row = static_cast<int>(static_cast<intptr_t>(wp));
        if (!store_.Valid(row) || columns_.empty()) return 0;
        tree_->setFocus();
        tree_->setCurrentIndex(model_->index(row, 0));
        tree_->edit(model_->index(row, 0));
        return 0;
    }
    case LVM_SORTITEMS: return FALSE;  // this list never reorders its rows
    case LVM_SETBKCOLOR: {
        bkColor_ = static_cast<COLORREF>(lp);
        QPalette pal = tree_->palette();
        pal.setColor(QPalette::Base, bkColor_ == CLR_NONE ? QColor(Qt::white) : w32::ToQColor(bkColor_));
        tree_->setPalette(pal);
        return TRUE;
    }
    case LVM_GETBKCOLOR: return bkColor_;
    case LVM_SETTEXTCOLOR:
        textColor_ = static_cast<COLORREF>(lp);
        tree_->viewport()->update();
        return TRUE;
    case LVM_GETTEXTCOLOR: return textColor_;
    case LVM_SETTEXTBKCOLOR:
        textBkColor_ = static_cast<COLORREF>(lp);
        tree_->viewport()->update();
        return TRUE;
    case LVM_GETTEXTBKCOLOR: return textBkColor_;
    case LVM_GETHOTITEM: return tree_->Hot();
    case LVM_SETHOTITEM: {
        const int old = tree_->Hot();
        tree_->SetHot(static_cast<int>(static_cast<intptr_t>(wp)));
        return old;
    }
    case LVM_UPDATE: tree_->viewport()->update(); return TRUE;
    case LVM_SETITEMCOUNT:
    case LVM_GETHEADER:
    case LVM_GETEDITCONTROL: return 0;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        tree_->setFont(w32::FontOf(font_));  // the header follows (changeEvent)
        tree_->doItemsLayout();
        if (LOWORD(lp)) tree_->viewport()->update();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE:
        // The label editor takes every key while it is open (Enter ends the
        // edit rather than pressing the dialog's default button).
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (tree_->Editing() ? DLGC_WANTALLKEYS : 0);
    case WM_SETCURSOR: {
        // The parent decides first; then one-click activation shows the hand over rows.
        HWND parent = GetParent(hwnd_);
        if (parent && SendMessageA(parent, WM_SETCURSOR, wp, lp)) return TRUE;
        if (LOWORD(lp) != HTCLIENT) {
            handled = false;
            return 0;
        }
        UpdateCursor();
        return TRUE;
    }
    default: handled = false; return 0;
    }
}

}  // namespace w32::cc
