#include "AppManager_p.h"
#include "Twips.h"
#include <qrt/CommonDialog.h>
#include <qrt/FlexGrid.h>

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

namespace qrt
{

namespace
{

QRect toPixels(const TwipsRect &r, const QWidget *w)
{
    return {twipsToPixelsX(r.left, w), twipsToPixelsY(r.top, w), twipsToPixelsX(r.width, w),
            twipsToPixelsY(r.height, w)};
}

QPushButton *makeButton(QWidget *parent, const char *name, const char *caption, const TwipsRect &r)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(toPixels(r, parent));
    return b;
}

} // namespace

void AppManagerPrivate::createChildren()
{
    for (int i = 0; i < 4; ++i) {
        picContainer[i] = new QWidget(q);
        picContainer[i]->setObjectName(QStringLiteral("picContainer_%1").arg(i));
    }
    const TwipsRect small{0, 0, 855, 435};
    btnInput = makeButton(picContainer[0], "btnInput", "&Input", small);
    btnOutput = makeButton(picContainer[0], "btnOutput", "&Output", {840, 0, 855, 435});
    btnSave = makeButton(picContainer[1], "btnSave", "&Save", small);
    btnInsert = makeButton(picContainer[2], "btnInsert", "Ins&ert", small);
    btnDel = makeButton(picContainer[3], "btnDel", "&Delete", small);
    btnOpenFile = makeButton(q, "btnOpenFile", "Edit Text File", boxes.btnOpenFile);
    btnDataValidate = makeButton(q, "btnDataValidate", "Data Vilidate", boxes.btnDataValidate);

    frameContainer = new QFrame(q);
    frameContainer->setObjectName(QStringLiteral("frameContainer"));
    frameContainer->setFrameShape(QFrame::StyledPanel);
    msfData = new FlexGrid(frameContainer);
    msfData->setObjectName(QStringLiteral("msfData"));
    msfData->setFixedRows(0);
    msfData->setCols(1);
    msfData->setRows(2);
    txtEdit = new QLineEdit(frameContainer);
    txtEdit->setObjectName(QStringLiteral("txtEdit"));
    txtEdit->setFrame(false);
    // Frameless so the text fits the row, with a thin border so the user sees where typing goes.
    txtEdit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(highlight); }"));
    txtEdit->hide();
    txtEdit->installEventFilter(this);
    // Keys for the grid are seen before the grid's own handling takes them.
    if (QWidget *view = msfData->focusProxy())
        view->installEventFilter(this);
    dlgOpenSave = new CommonDialog(q);
    dlgOpenSave->setObjectName(QStringLiteral("dlgOpenSave"));

    QObject::connect(msfData, &FlexGrid::RowColChange, this, [this] { rowColChange(); });
    QObject::connect(msfData, &FlexGrid::Click, this, [this] { handle([this] { ShowEditor(); }); });
    QObject::connect(msfData, &FlexGrid::MouseUp, this, [this](int button, int, float, float) {
        handle([&] { msfData_MouseUp(button); });
    });
    QObject::connect(msfData, &FlexGrid::Scroll, this, [this] { msfData_Scroll(); });
    // Qt lays a grid out only when it is first shown or resized; the editor follows its cell.
    QObject::connect(msfData, &FlexGrid::LayoutChanged, this, [this] {
        if (txtEdit->isVisibleTo(frameContainer))
            placeEditor();
    });
    QObject::connect(txtEdit, &QLineEdit::textChanged, this,
                     [this] { handle([this] { txtEdit_Change(); }); });
    QObject::connect(btnInsert, &QPushButton::clicked, this,
                     [this] { handle([this] { btnInsert_Click(); }); });
    QObject::connect(btnDel, &QPushButton::clicked, this,
                     [this] { handle([this] { btnDel_Click(); }); });
    QObject::connect(btnDataValidate, &QPushButton::clicked, this,
                     [this] { handle([this] { btnDataValidate_Click(); }); });
    QObject::connect(btnSave, &QPushButton::clicked, this,
                     [this] { handle([this] { btnSave_Click(); }); });
    QObject::connect(btnOpenFile, &QPushButton::clicked, this, [this] { btnOpenFile_Click(); });
    // Import and export are the host's to do; the buttons only tell it they were clicked.
    QObject::connect(btnInput, &QPushButton::clicked, q, &AppManager::importClicked);
    QObject::connect(btnOutput, &QPushButton::clicked, q, &AppManager::exportClicked);

    applyBoxes();
    q->resize(twipsToPixelsX(8400, q), twipsToPixelsY(4800, q));
}

float AppManagerPrivate::scaleWidth() const
{
    return float(q->width()) * twipsPerPixelX(q);
}

float AppManagerPrivate::scaleHeight() const
{
    return float(q->height()) * twipsPerPixelY(q);
}

void AppManagerPrivate::UserControl_Resize()
{
    layoutSteps = arrangeLayout(boxes, scaleWidth(), scaleHeight());
    applyBoxes();
}

void AppManagerPrivate::applyBoxes()
{
    for (int i = 0; i < 4; ++i)
        picContainer[i]->setGeometry(toPixels(boxes.pic[i], q));
    btnOpenFile->setGeometry(toPixels(boxes.btnOpenFile, q));
    btnDataValidate->setGeometry(toPixels(boxes.btnDataValidate, q));
    frameContainer->setGeometry(toPixels(boxes.frame, q));
    msfData->setGeometry(toPixels(boxes.grid, q));
}

} // namespace qrt
