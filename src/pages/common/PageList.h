#pragma once
// The open pages in page order, as the page chooser, the print command and the
// page keys number them: one pass over the loaded forms for each of the name parts
// "mdiESEITE", "mdiSEITE", "mdiPSEITE" and "mdiMSEITE", in this order, each pass
// taking the forms whose name contains the part (letters compared without regard to
// case) in the order of the forms.
#include <QList>

class PageHost;
class QWidget;

QList<QWidget*> PageList(const PageHost& host);
// The number (from 1) of the page whose name is the active form's; 0 when none is.
int ActivePageNumber(const QList<QWidget*>& pages, const QWidget* active);
