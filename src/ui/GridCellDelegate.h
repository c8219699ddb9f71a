#pragma once

#include <QFlags>
#include <QStyledItemDelegate>
#include <functional>

// The drawing state of a grid cell, as the grid's paint event receives it.
enum class GridDrawFlag {
  Selected = 0x1,
  Focused = 0x2,
  Fixed = 0x4,
  RowSelected = 0x8,
  HotTrack = 0x10,
  Pressed = 0x20,
};
Q_DECLARE_FLAGS(GridDrawState, GridDrawFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridDrawState)

// Hands the painting of every data cell to the grid's owner, with the cell's drawing state, and
// writes what is typed into a cell into the grid's set.
class GridCellDelegate : public QStyledItemDelegate {
 public:
  using Painter = std::function<void(QPainter* Canvas, const QRect& Rect, const QModelIndex& Column,
                                     GridDrawState State)>;
  GridCellDelegate(Painter painter, QObject* parent)
      : QStyledItemDelegate(parent), painter_(std::move(painter)) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  // Into a grid over a set: a text the set refuses is reported, not dropped without a word.
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

  // The text of an open editor.
  static QString EditorText(const QWidget* editor);

  // The grid's standard drawing of a data cell: the background, then the value as text,
  // aligned as its field prescribes.
  static void DefaultDrawColumnCell(QPainter* Canvas, const QRect& Rect, const QModelIndex& Column,
                                    const QColor& background, const QColor& text);

  // Qt's view state of a cell in the grid's terms.
  static GridDrawState DrawState(const QStyleOptionViewItem& option);

 private:
  Painter painter_;
};
