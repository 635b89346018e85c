#include "ui/admin/ProgramsDialogOpener.h"

#include "ui/admin/TForm2.h"
#include "ui/common/OpenInstance.h"

#include <QPoint>
#include <QWidget>

void openProgramsDialog(UpdaterState& state, QWidget* opener)
{
    TForm2 dialog(state);
    const OpenInstance<TForm2> open(Form2, dialog);
    dialog.LoadPrograms();
    dialog.ChangeLabel1();
    if (opener)
        dialog.move(opener->pos() + QPoint(10, 10));
    dialog.exec();
}
