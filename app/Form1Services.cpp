#include "app/Form1Services.h"

#include "sheet/Workbook.h"

void ShowAndHandOver(sheet::Workbook& workbook, const sheet::Block&) {
    workbook.show();
    workbook.handOverToUser();
}
