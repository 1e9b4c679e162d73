#include "PageList.h"
#include "PageHost.h"
#include <QWidget>

QList<QWidget*> PageList(const PageHost& host)
{
    const QList<QWidget*> forms = host.Forms();
    QList<QWidget*> pages;
    for (const char* part : {"mdiESEITE", "mdiSEITE", "mdiPSEITE", "mdiMSEITE"})
        for (QWidget* form : forms)
            if (form->objectName().contains(QLatin1String(part), Qt::CaseInsensitive))
                pages << form;
    return pages;
}

int ActivePageNumber(const QList<QWidget*>& pages, const QWidget* active)
{
    if (!active)
        return 0;
    for (int i = 0; i < pages.size(); ++i)
        if (pages[i]->objectName() == active->objectName())
            return i + 1;
    return 0;
}
