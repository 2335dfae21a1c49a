#include "SetupFixture.h"

#include "DeviceSettings.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

using namespace kestrix;

TEST_F(SetupFixture, WindowHasTheDesignedFixedClientArea)
{
    EXPECT_EQ(setup->size(), QSize(569, 323));
    EXPECT_EQ(setup->minimumSize(), setup->maximumSize());
    EXPECT_FALSE(setup->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(setup->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(SetupFixture, EveryCaptionFitsItsControl)
{
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
    for (ComboBox *band : setup->cbBand) {
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

TEST_F(SetupFixture, TabRunsInTheDesignedOrder)
{
    std::vector<QWidget *> expected = {setup->txtTimer, setup->chkBeep,  setup->chkPacket,
                                       setup->chkRA2,   setup->chkRange, setup->cbNumRange};
    for (int i = 0; i < kRangeRows; ++i) {
        expected.push_back(setup->txtRangeLow[i]);
        expected.push_back(setup->txtRangeHigh[i]);
    }
    expected.insert(expected.end(),
                    {setup->chkBand, setup->cbNumBand, setup->cbBand[0], setup->chkDxCall,
                     setup->chkToAll, setup->chkUsrM, setup->txtUsrM, setup->cmdSave,
                     setup->txtComm, setup->cmdSend, setup->cmdHelp, setup->cmdDefault,
                     setup->cmdLoad, setup->txtDxCall[0], setup->txtDxCall[1], setup->txtDxCall[2],
                     setup->cbNumDxCalls});
    expected.insert(expected.end(), setup->cbBand.begin() + 1, setup->cbBand.end());

    QWidget *w = setup->txtTimer;
    for (std::size_t i = 1; i < expected.size(); ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        EXPECT_EQ(w, expected[i]) << "step " << i << ": " << w->objectName().toStdString();
    }
}

TEST_F(SetupFixture, ListsAndLimitsAreThoseOfTheDesign)
{
    for (ComboBox *band : setup->cbBand) {
        ASSERT_EQ(band->count(), 12);
        EXPECT_EQ(band->itemText(0), "160m (0-3 Mhz)");
        EXPECT_EQ(band->itemText(11), "70cm (>200Mhz)");
    }
    EXPECT_EQ(setup->cbNumDxCalls->count(), 3);
    EXPECT_EQ(setup->cbNumRange->count(), 6);
    EXPECT_EQ(setup->txtTimer->lengthLimit(), 5);
    EXPECT_EQ(setup->txtComm->lengthLimit(), 2);
    EXPECT_EQ(setup->txtUsrM->lengthLimit(), 9);
    EXPECT_EQ(setup->txtRangeHigh[5]->lengthLimit(), 7);
    EXPECT_EQ(setup->txtTimer->toolTip(), "0,0-63,0   (0=Timer Disable)");
}

TEST_F(SetupFixture, WindowCarriesTheProgramIconInBothSizes)
{
    const QList<QSize> sizes = setup->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}
