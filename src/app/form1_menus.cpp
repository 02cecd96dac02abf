#include "app/form1_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace orx {
namespace {

QMenu* menu(QMenuBar* bar, const QString& name, const QString& caption)
{
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}

QAction* item(QMenu* menu, const QString& name, const QString& caption, bool checkable = false)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setCheckable(checkable);
    return a;
}

} // namespace

void buildForm1Menus(Form1Controls& c, QMainWindow* window)
{
    QMenuBar* bar = window->menuBar();
    c.mnufile = menu(bar, QStringLiteral("mnufile"), QStringLiteral("&Edit"));
    c.mnuopen = item(c.mnufile, QStringLiteral("mnuopen"), QStringLiteral("&Open file"));
    c.mnunew = item(c.mnufile, QStringLiteral("mnunew"), QStringLiteral("&New file"));

    c.mnudevice = menu(bar, QStringLiteral("mnudevice"), QStringLiteral("&Device"));
    c.mnuorxa100 = item(c.mnudevice, QStringLiteral("mnuorxa100"), QStringLiteral("ORX-A100"), true);
    c.mnuorxb200 = item(c.mnudevice, QStringLiteral("mnuorxb200"), QStringLiteral("ORX-B200"), true);
    c.mnuorxc300 = item(c.mnudevice, QStringLiteral("mnuorxc300"), QStringLiteral("ORX-C300"), true);

    c.mnuinterface = menu(bar, QStringLiteral("mnuinterface"), QStringLiteral("&Interface"));
    c.mnurs232 = c.mnuinterface->addMenu(QStringLiteral("&RS232"));
    c.mnurs232->setObjectName(QStringLiteral("mnurs232"));
    c.mnuport = c.mnurs232->addMenu(QStringLiteral("&Port"));
    c.mnuport->setObjectName(QStringLiteral("mnuport"));
    for (int n = 1; n <= 4; ++n) {
        QAction* a = item(c.mnuport, QStringLiteral("mnucom%1").arg(n), QStringLiteral("COM%1").arg(n), true);
        a->setEnabled(n == 1);
        a->setChecked(n == 1);
        c.mnucom[n - 1] = a;
    }
    c.mnubaud = c.mnurs232->addMenu(QStringLiteral("&Baud"));
    c.mnubaud->setObjectName(QStringLiteral("mnubaud"));
    const QStringList rates = {QStringLiteral("9600"), QStringLiteral("4800"), QStringLiteral("2400"),
                               QStringLiteral("1200")};
    for (int i = 0; i < 4; ++i) {
        c.mnubaudItem[i] = item(c.mnubaud, QStringLiteral("mnu") + rates[i], rates[i], true);
        c.mnubaudItem[i]->setChecked(i == 0);
    }
    c.mnugpib = item(c.mnuinterface, QStringLiteral("mnugpib"), QStringLiteral("&GPIB"));

    c.mnuaction = menu(bar, QStringLiteral("mnuaction"), QStringLiteral("&Action"));
    c.mnu_reconnect = item(c.mnuaction, QStringLiteral("mnu_reconnect"), QStringLiteral("&Reconnect"));
    c.mnuautoreconnect = item(c.mnuaction, QStringLiteral("mnuautoreconnect"),
                              QStringLiteral("Reconnect &automatically"), true);
    c.mnu_exit = item(c.mnuaction, QStringLiteral("mnu_exit"), QStringLiteral("&Exit"));

    c.mnuview = menu(bar, QStringLiteral("mnuview"), QStringLiteral("&View"));
    c.mnuTraffic = item(c.mnuview, QStringLiteral("mnuTraffic"), QStringLiteral("&Traffic..."));
    c.mnuTrend = item(c.mnuview, QStringLiteral("mnuTrend"), QStringLiteral("T&rend..."));
    c.mnuRemote = item(c.mnuview, QStringLiteral("mnuRemote"), QStringLiteral("Re&mote access..."));

    c.mnuhelp = menu(bar, QStringLiteral("mnuhelp"), QStringLiteral("&Help"));
    c.mnuHelpContents = item(c.mnuhelp, QStringLiteral("mnuHelpContents"), QStringLiteral("&Contents..."));
    c.mnuHelpDiv1 = c.mnuhelp->addSeparator();
    c.mnuHelpDiv1->setObjectName(QStringLiteral("mnuHelpDiv1"));
    c.mnuHelpAbout = item(c.mnuhelp, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About..."));
}

} // namespace orx
