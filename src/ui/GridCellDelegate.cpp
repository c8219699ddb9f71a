#include "ui/GridCellDelegate.h"

#include <QMetaProperty>
#include <QPainter>

#include "common/ErrorReport.h"
#include "dataset/DataSetModel.h"

GridDrawState GridCellDelegate::DrawState(const QStyleOptionViewItem& option) {
  // selected: the view's selected cell (one cell: the grid selects items, singly);
  // focused: the current cell while the view has the keyboard focus.
  // Only titles and the row indicator are fixed, light up under the pointer or are pressed,
  // and those are headers; rows are never selected as a whole. So Qt's mouse-over and sunken
  // states of a data cell are no flags of the grid's.
  GridDrawState state;
  if (option.state & QStyle::State_Selected) state |= GridDrawFlag::Selected;
  if (option.state & QStyle::State_HasFocus) state |= GridDrawFlag::Focused;
  return state;
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  painter_(painter, option.rect, index, DrawState(option));
}

void GridCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
  auto* cells = qobject_cast<DataSetModel*>(model);
  if (cells == nullptr) return QStyledItemDelegate::setModelData(editor, model, index);
  Guarded([&] { cells->writeText(index, EditorText(editor)); });
}

QString GridCellDelegate::EditorText(const QWidget* editor) {
  return editor->metaObject()->userProperty().read(editor).toString();
}

void GridCellDelegate::DefaultDrawColumnCell(QPainter* Canvas, const QRect& Rect,
                                             const QModelIndex& Column, const QColor& background,
                                             const QColor& text) {
  Canvas->save();
  Canvas->fillRect(Rect, background);
  Canvas->setPen(text);
  const QVariant alignment = Column.data(Qt::TextAlignmentRole);
  const auto flags = alignment.isValid() ? Qt::Alignment(alignment.toInt())
                                         : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter);
  Canvas->drawText(Rect.adjusted(2, 0, -2, 0), flags | Qt::AlignVCenter | Qt::TextSingleLine,
                   Column.data(Qt::DisplayRole).toString());
  Canvas->restore();
}
