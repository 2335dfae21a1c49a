// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfTables.h"

#include "Geometry.h"

#include <QTextBlock>
#include <QTextTable>

#include <algorithm>
#include <cstdlib>

namespace kestrix {

namespace {

// Two writers round the same edge apart by a few twips.
constexpr int kEdgeTolerance = 30;
constexpr double kMaxPaddingPixels = 20;
constexpr int kMaxRowsPerTable = 64;

int matchingEdge(const std::vector<int> &grid, int twips)
{
    for (std::size_t i = 0; i < grid.size(); ++i)
        if (std::abs(grid[i] - twips) <= kEdgeTolerance)
            return static_cast<int>(i);
    return -1;
}

void setBorders(QTextTableCellFormat &format, const std::array<RtfBorder, 4> &borders)
{
    const auto brush = [](const RtfBorder &b) {
        return QBrush(b.color.isValid() ? b.color : Qt::black);
    };
    const auto style = [](const RtfBorder &b) {
        return b.width > 0 ? QTextFrameFormat::BorderStyle_Solid
                           : QTextFrameFormat::BorderStyle_None;
    };
    format.setTopBorder(borders[0].width);
    format.setTopBorderBrush(brush(borders[0]));
    format.setTopBorderStyle(style(borders[0]));
    format.setLeftBorder(borders[1].width);
    format.setLeftBorderBrush(brush(borders[1]));
    format.setLeftBorderStyle(style(borders[1]));
    format.setBottomBorder(borders[2].width);
    format.setBottomBorderBrush(brush(borders[2]));
    format.setBottomBorderStyle(style(borders[2]));
    format.setRightBorder(borders[3].width);
    format.setRightBorderBrush(brush(borders[3]));
    format.setRightBorderStyle(style(borders[3]));
}

void setPadding(QTextTableCellFormat &format, const std::array<double, 4> &padding)
{
    if (padding[0] >= 0)
        format.setTopPadding(padding[0]);
    if (padding[1] >= 0)
        format.setLeftPadding(padding[1]);
    if (padding[2] >= 0)
        format.setBottomPadding(padding[2]);
    if (padding[3] >= 0)
        format.setRightPadding(padding[3]);
}

bool looksAlike(const RtfCellDef &a, const RtfCellDef &b)
{
    return a.borders == b.borders && a.padding == b.padding && a.background == b.background;
}

bool looksPlain(const RtfCellDef &cell)
{
    const auto none = [](const RtfBorder &b) { return b.width == 0; };
    const auto unset = [](double padding) { return padding < 0; };
    return std::all_of(cell.borders.begin(), cell.borders.end(), none) &&
           std::all_of(cell.padding.begin(), cell.padding.end(), unset) &&
           !cell.background.isValid();
}

} // namespace

RtfTables::RtfTables(QTextCursor &cursor, int cellBudget)
    : m_cursor(cursor), m_cellBudget(cellBudget)
{
}

int RtfTables::effectiveLevel(int level) const
{
    return m_cellBudget < 0 ? 0 : std::clamp(level, 0, kMaxTableDepth);
}

void RtfTables::enter(int wanted, const std::vector<RtfRowDef> &defs)
{
    const std::size_t target = static_cast<std::size_t>(effectiveLevel(wanted));
    closeTo(target);
    for (std::size_t depth = 0; depth < target && m_cellBudget >= 0; ++depth) {
        const RtfRowDef &def = defs[std::min(depth + 1, defs.size() - 1)];
        if (depth == m_levels.size()) {
            openTable(def);
        } else if (!m_levels[depth].rowOpen) {
            closeTo(depth + 1);
            startRow(depth, def);
        } else if (m_levels[depth].moveToCell) {
            closeTo(depth + 1);
            moveToCurrentCell(m_levels[depth]);
        }
    }
    if (m_cellBudget < 0)
        closeTo(0);
}

void RtfTables::endCell(int wanted, const std::vector<RtfRowDef> &defs)
{
    const int level = effectiveLevel(wanted);
    if (level == 0)
        return;
    enter(level, defs);
    if (m_levels.size() < std::size_t(level))
        return; // out of cells
    Level &current = m_levels[level - 1];
    ++current.cell;
    current.moveToCell = true;
}

void RtfTables::endRow(int wanted, const std::vector<RtfRowDef> &defs)
{
    const int level = effectiveLevel(wanted);
    if (level == 0 || m_levels.size() < std::size_t(level) || !m_levels[level - 1].rowOpen)
        return;
    closeTo(level);
    Level &current = m_levels[level - 1];
    shapeRow(current, defs[std::min<std::size_t>(level, defs.size() - 1)]);
    current.rowOpen = false;
    current.moveToCell = false;
}

void RtfTables::closeTo(std::size_t depth)
{
    while (m_levels.size() > depth) {
        const Level &level = m_levels.back();
        if (level.rows > level.row + 1)
            level.table->removeRows(level.row + 1, level.rows - level.row - 1);
        m_cursor = level.table->lastCursorPosition();
        m_cursor.movePosition(QTextCursor::NextBlock);
        m_levels.pop_back();
    }
}

void RtfTables::openTable(const RtfRowDef &def)
{
    const int columns = std::max<int>(1, static_cast<int>(def.cells.size()));
    m_cellBudget -= columns;
    if (m_cellBudget < 0)
        return;
    QTextTableFormat format;
    format.setBorder(0);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(
        std::clamp(double(def.gapTwips) / kTwipsPerPixel, 0.0, kMaxPaddingPixels));
    format.setLeftMargin(double(std::max(0, def.leftTwips)) / kTwipsPerPixel);
    format.setAlignment(def.alignment);
    Level level;
    level.table = m_cursor.insertTable(1, columns, format);
    level.columns = columns;
    collapseEmptyBlockBefore(level.table);
    m_cursor = level.table->cellAt(0, 0).firstCursorPosition();
    if (!def.cells.empty())
        setGrid(level, def);
    level.firstColumns = firstColumnsOf(level, def);
    m_levels.push_back(std::move(level));
}

// Qt keeps a block before every table; an empty one there would show as a
// blank line that the document does not have.
void RtfTables::collapseEmptyBlockBefore(QTextTable *table)
{
    const QTextBlock before = table->cellAt(0, 0).firstCursorPosition().block().previous();
    if (!before.isValid() || before.length() > 1)
        return;
    QTextBlockFormat format = before.blockFormat();
    format.setLineHeight(0, QTextBlockFormat::FixedHeight);
    format.setTopMargin(0);
    format.setBottomMargin(0);
    QTextCursor(before).setBlockFormat(format);
}

void RtfTables::startRow(std::size_t depth, const RtfRowDef &def)
{
    // Qt rebuilds a table's grid after every change of its rows or columns,
    // in time that grows with its cells; long tables go on in a table of
    // their own every so many rows.
    const bool full = m_levels[depth].row + 1 >= kMaxRowsPerTable;
    if (full || (!def.cells.empty() && !fitsGrid(m_levels[depth], def))) {
        closeTo(depth);
        openTable(def);
        return;
    }
    Level &level = m_levels[depth];
    m_cellBudget -= level.columns;
    if (m_cellBudget < 0)
        return;
    if (level.row + 1 == level.rows) {
        const int batch = std::min(level.rows, kMaxRowsPerTable - level.rows);
        level.table->appendRows(batch);
        level.rows += batch;
    }
    ++level.row;
    level.cell = 0;
    level.rowOpen = true;
    level.firstColumns = firstColumnsOf(level, def);
    moveToCurrentCell(level);
}

// Where cell n of the row begins: past the described cells, one column each.
static int columnOf(const std::vector<int> &firstColumns, int cell)
{
    if (firstColumns.empty())
        return cell;
    const int described = static_cast<int>(firstColumns.size()) - 1;
    return cell < described ? firstColumns[cell] : firstColumns.back() + (cell - described);
}

void RtfTables::moveToCurrentCell(Level &level)
{
    int column = columnOf(level.firstColumns, level.cell);
    bool reentered = false;
    while (column >= level.columns) {
        m_cellBudget -= level.rows;
        if (m_cellBudget < 0) {
            column = level.columns - 1;
            m_cellBudget = 0; // this text still goes in, into the last cell
            reentered = true;
            break;
        }
        appendColumn(level);
    }
    // Each cell is entered once, still empty, but for text past the cells
    // the budget allows; Qt finds a cell's start faster than its end.
    const QTextTableCell cell = level.table->cellAt(level.row, column);
    m_cursor = reentered ? cell.lastCursorPosition() : cell.firstCursorPosition();
    level.moveToCell = false;
}

bool RtfTables::fitsGrid(const Level &level, const RtfRowDef &def) const
{
    if (level.grid.empty())
        return static_cast<int>(def.cells.size()) <= level.columns || level.row == 0;
    int previous = -1;
    for (const RtfCellDef &cell : def.cells) {
        const int edge = matchingEdge(level.grid, cell.rightTwips);
        if (edge <= previous)
            return false;
        previous = edge;
    }
    return true;
}

std::vector<int> RtfTables::firstColumnsOf(const Level &level, const RtfRowDef &def) const
{
    if (level.grid.empty() || def.cells.empty() || !fitsGrid(level, def))
        return {};
    std::vector<int> first{0};
    for (const RtfCellDef &cell : def.cells)
        first.push_back(matchingEdge(level.grid, cell.rightTwips) + 1);
    return first;
}

void RtfTables::setGrid(Level &level, const RtfRowDef &def)
{
    level.grid.clear();
    for (const RtfCellDef &cell : def.cells)
        if (level.grid.empty() || cell.rightTwips > level.grid.back())
            level.grid.push_back(cell.rightTwips);
    while (level.columns < static_cast<int>(level.grid.size()) && m_cellBudget >= 0) {
        m_cellBudget -= level.rows;
        appendColumn(level);
    }
    QList<QTextLength> widths;
    int left = def.leftTwips;
    for (const int edge : level.grid) {
        widths << QTextLength(QTextLength::FixedLength,
                              double(std::max(edge - left, 1)) / kTwipsPerPixel);
        left = edge;
    }
    while (widths.size() < level.columns)
        widths << QTextLength();
    widths.resize(level.columns);
    QTextTableFormat format = level.table->format();
    format.setColumnWidthConstraints(widths);
    level.table->setFormat(format);
    level.vMergeStart.assign(std::size_t(level.columns), -1);
}

void RtfTables::appendColumn(Level &level)
{
    level.table->appendColumns(1);
    ++level.columns;
}

const QTextTableCellFormat &RtfTables::formatOf(const RtfCellDef &cell)
{
    constexpr std::size_t kMaxLooks = 16;
    for (const auto &[look, format] : m_cellFormats)
        if (looksAlike(look, cell))
            return format;
    if (m_cellFormats.size() == kMaxLooks)
        m_cellFormats.clear();
    QTextTableCellFormat format;
    setBorders(format, cell.borders);
    setPadding(format, cell.padding);
    if (cell.background.isValid())
        format.setBackground(cell.background);
    return m_cellFormats.emplace_back(cell, format).second;
}

void RtfTables::shapeRow(Level &level, const RtfRowDef &def)
{
    if (def.cells.empty())
        return;
    if (level.grid.empty()) {
        setGrid(level, def);
        level.firstColumns = firstColumnsOf(level, def);
    }
    QTextTable *table = level.table;
    level.vMergeStart.resize(std::size_t(level.columns), -1);
    const int cells = static_cast<int>(def.cells.size());
    for (int first = 0; first < cells;) {
        // A cell and the cells merged into it make one.
        int last = first;
        while (last + 1 < cells && def.cells[last + 1].merged && !def.cells[last + 1].mergeFirst)
            ++last;
        const int column = columnOf(level.firstColumns, first);
        const int span = std::max(1, columnOf(level.firstColumns, last + 1) - column);
        if (column + span > level.columns)
            break;
        const RtfCellDef &cell = def.cells[first];
        if (looksPlain(cell)) {
            // nothing to set: a cell's format costs time on every row
        } else {
            table->cellAt(level.row, column).setFormat(formatOf(cell));
        }
        if (span > 1)
            table->mergeCells(level.row, column, 1, span);
        int &start = level.vMergeStart[std::size_t(column)];
        if (cell.vMerged && start >= 0)
            table->mergeCells(start, column, level.row - start + 1, span);
        else
            start = cell.vMergeFirst ? level.row : -1;
        first = last + 1;
    }
}

} // namespace kestrix
