// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds the tables of rich text as QTextTables while the text streams in.
// RTF marks a table's paragraphs as "in table" at some nesting level, ends
// cells and rows with marks, and describes a row by its cells' right edges,
// merges, borders and shading, either before the row's text or after it (as
// nested rows always do). The builder opens, continues and closes tables as
// the level of the text changes, keeps the cursor in the cell that the text
// belongs to, and shapes each row when it ends.
//
// A table keeps the column edges of its first row; a later row whose edges
// are all among them spans its cells over those columns, any other row
// starts a table of its own right below, as does every 64th row. Rows are
// added ahead in growing batches and the unused ones dropped when the table
// ends, since Qt rebuilds a table's grid after each change of its rows.
// Nesting past kMaxTableDepth goes into the deepest table, and past a cell
// budget proportional to the input the text continues outside tables, so no
// file makes more cells than it has bytes.

#include <QColor>
#include <QTextCursor>
#include <QTextFormat>

#include <array>
#include <vector>

class QTextTable;

namespace kestrix {

inline constexpr int kMaxTableDepth = 8;

struct RtfBorder
{
    double width = 0; // pixels; 0 for no line
    QColor color;
    bool operator==(const RtfBorder &) const = default;
};

struct RtfCellDef
{
    int rightTwips = 0;
    bool mergeFirst = false; // \clmgf: cells merged across start here
    bool merged = false;     // \clmrg: part of the cell before
    bool vMergeFirst = false;
    bool vMerged = false;
    std::array<RtfBorder, 4> borders;              // top, left, bottom, right
    std::array<double, 4> padding{-1, -1, -1, -1}; // pixels, the same order; -1 for the row's
    QColor background;
};

struct RtfRowDef
{
    std::vector<RtfCellDef> cells;
    int leftTwips = 0;
    int gapTwips = 108; // half the space between two cells' text
    Qt::Alignment alignment = Qt::AlignLeft;
};

class RtfTables
{
public:
    RtfTables(QTextCursor &cursor, int cellBudget);

    // Puts the cursor where text of the given level (0: outside tables)
    // goes, opening rows and tables as needed; defs[n] is the row
    // description known for level n.
    void enter(int level, const std::vector<RtfRowDef> &defs);
    void endCell(int level, const std::vector<RtfRowDef> &defs);
    void endRow(int level, const std::vector<RtfRowDef> &defs);

private:
    struct Level
    {
        QTextTable *table = nullptr;
        std::vector<int> grid; // right edges of the columns, in twips
        int rows = 1;          // in the table, the row being read and those added ahead
        int columns = 1;
        int row = 0;
        int cell = 0;                  // index of the current cell in its row
        bool rowOpen = true;           // a row has begun and not ended
        bool moveToCell = false;       // the cursor still stands in the cell before
        std::vector<int> firstColumns; // where each cell of the row begins
        std::vector<int> vMergeStart;  // per column, the row a vertical merge began in
    };

    int effectiveLevel(int level) const;
    void closeTo(std::size_t depth);
    void appendColumn(Level &level);
    void openTable(const RtfRowDef &def);
    static void collapseEmptyBlockBefore(QTextTable *table);
    void startRow(std::size_t depth, const RtfRowDef &def);
    void moveToCurrentCell(Level &level);
    void shapeRow(Level &level, const RtfRowDef &def);
    void setGrid(Level &level, const RtfRowDef &def);
    bool fitsGrid(const Level &level, const RtfRowDef &def) const;
    std::vector<int> firstColumnsOf(const Level &level, const RtfRowDef &def) const;
    const QTextTableCellFormat &formatOf(const RtfCellDef &cell);

    QTextCursor &m_cursor;
    std::vector<Level> m_levels;
    int m_cellBudget;
    // Formats made for cells of each look; rows mostly repeat a few.
    std::vector<std::pair<RtfCellDef, QTextTableCellFormat>> m_cellFormats;
};

} // namespace kestrix
