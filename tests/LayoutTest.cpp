// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupFixture.h"

#include "DeviceSettings.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>

using namespace kestrix;

TEST_F(SetupFixture, WindowHasTheDesignedFixedClientAreaAndTheProgramIconInBothSizes)
{
    EXPECT_EQ(setup->size(), QSize(569, 323));
    EXPECT_EQ(setup->minimumSize(), setup->maximumSize());
    EXPECT_FALSE(setup->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(setup->windowFlags() & Qt::WindowMinimizeButtonHint);
    const QList<QSize> sizes = setup->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(16, 16)));
}

TEST_F(SetupFixture, EveryCaptionFitsItsControl)
{
    // Run again with one other font installed, which must be the one in use.
    if (const QByteArray family = qgetenv("KESTRIX_TEST_FONT_FAMILY"); !family.isEmpty()) {
        ASSERT_EQ(QFontInfo(setup->font()).family(), QString::fromUtf8(family));
    }
    for (QLabel *label : setup->findChildren<QLabel *>()) {
        const QSize need = label->wordWrap()
                               ? QSize(label->width(), label->heightForWidth(label->width()))
                               : label->sizeHint();
        EXPECT_LE(need.width(), label->width()) << label->text().toStdString();
        EXPECT_LE(need.height(), label->height() + 2) << label->text().toStdString();
    }
    for (CheckBox *box : setup->findChildren<CheckBox *>()) {
        // The size hint keeps a pixel or two for the focus frame.
        EXPECT_LE(box->sizeHint().width(), box->width() + 2) << box->text().toStdString();
        EXPECT_LE(box->sizeHint().height(), box->height() + 2) << box->text().toStdString();
    }
    for (QPushButton *button : setup->findChildren<QPushButton *>()) {
        const QFontMetrics metrics(button->font());
        EXPECT_LE(metrics.horizontalAdvance(button->text()) + 12, button->width())
            << button->text().toStdString();
    }
    for (QGroupBox *frame : setup->findChildren<QGroupBox *>()) {
        const QFontMetrics metrics(frame->font());
        EXPECT_LT(metrics.horizontalAdvance(frame->title() + "  "), frame->width())
            << frame->title().toStdString();
    }
    for (int i = 0; i < kBandRows; ++i) {
        const ComboBox *band = List(setup.get(), "cbBand", i);
        const QFontMetrics metrics(band->font());
        for (const QString &entry : BandList())
            EXPECT_LE(metrics.horizontalAdvance(entry) + 22, band->width()) << entry.toStdString();
    }
}

TEST_F(SetupFixture, ControlsStayInsideTheirContainers)
{
    for (QWidget *w : setup->findChildren<QWidget *>()) {
        if (w->isWindow() || !w->isVisibleTo(setup.get()))
            continue; // popups of the lists
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
            << w->metaObject()->className() << w->objectName().toStdString() << " in "
            << w->parentWidget()->objectName().toStdString();
    }
}
