// Building the menu bar of the main window.
#include "app/main_menus.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace qb {
namespace {

QAction* item(QMenu* menu, const char* name, const char* caption, const char* help = nullptr) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QLatin1String(name));
    if (help) a->setStatusTip(QString::fromLatin1(help));
    return a;
}

QMenu* menu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* m = bar->addMenu(QString::fromLatin1(caption));
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Item"));
    return m;
}

// A command straight on the bar, without a drop-down.
QAction* command(QMenuBar* bar, const char* name, const char* caption) {
    QAction* a = bar->addAction(QString::fromLatin1(caption));
    a->setObjectName(QLatin1String(name));
    return a;
}

}  // namespace

MainMenus MainMenus::build(QMenuBar* bar) {
    MainMenus m;
    m.file = menu(bar, "mnuFile", "&File");
    m.open = item(m.file, "mnuOpen", "&Open", "Opens another Quillbank file");
    m.newFile = item(m.file, "mnuNew", "&New", "Creates a new, empty Quillbank file");
    m.preferences = item(m.file, "mnuPreferences", "&Preferences");
    m.importDbf = item(m.file, "mnuImportDBF", "Import from &DBF File");
    m.importAscii = item(m.file, "mnuImportASCII", "Import from &ASCII File");
    m.rebuildIndexes = item(m.file, "mnuRebuildIndexes", "&Rebuild Indexes");
    m.clone = item(m.file, "mnuClone", "&Clone");
    m.exit = item(m.file, "mnuExit", "E&xit");
    m.startOfMru = m.file->addSeparator();
    m.startOfMru->setObjectName(QStringLiteral("StartOfMRU"));
    m.placeHolder = item(m.file, "PlaceHolder", "PlaceHolder");

    m.order = menu(bar, "mnuOrder", "&Order");
    m.orderGroup = new QActionGroup(m.order);
    m.orderGroup->setExclusive(true);
    struct Def {
        const char* name;
        const char* caption;
        const char* compared;
        const char* tag;
    };
    static const Def orders[] = {
        {"mnuOrderLastName", "&Last Name", "LAST NAME", "LNAME"},
        {"mnuOrderFirstName", "&First Name", "FIRST NAME", "FNAME"},
        {"mnuOrderTitle", "&Title", "TITLE", "TITLE"},
        {"mnuOrderOrganization", "&Organization", "ORGANIZATION", "ORG"},
        {"mnuOrderStreet", "&Street", "STREET", "STREET"},
        {"mnuOrderCity", "&City", "CITY", "CITY"},
        {"mnuOrderState", "&State", "STATE", "STATE"},
        {"mnuOrderZip", "&Zip", "ZIP", "ZIP"},
        {"mnuOrderCountry", "&Country", "COUNTRY", "COUNTRY"},
        {"mnuOrderPhone", "&Phone", "PHONE", "PHONE"},
        {"mnuOrderEmail", "&E-mail", "E-MAIL", "EMAIL"},
        {"mnuOrderFax", "&Fax", "FAX", "FAX"},
        {"mnuOrderDate", "&Date", "DATE", "DATE"},
        {"mnuOrderCodes", "&Codes", "CODES", "NOTES"},
    };
    for (const Def& d : orders) {
        QAction* a = item(m.order, d.name, d.caption);
        a->setCheckable(true);
        m.orderGroup->addAction(a);
        m.orderItems.push_back({a, d.compared, d.tag});
    }
    m.orderItems.front().action->setChecked(true);

    m.utilities = menu(bar, "mnuUtilities", "&Utilities");
    m.countRecords = item(m.utilities, "mnuCountRecords", "&Count Records");
    m.countZipCodes = item(m.utilities, "mnuCountZipCodes", "Count &Zip Codes");
    m.checkStateZip = item(m.utilities, "CheckState1", "Check && Repair &State and Zip Codes");
    m.checkDuplicates = item(m.utilities, "mnuCheckDuplicates", "Check && Repair &Duplicates");
    m.convertUpper = item(m.utilities, "mnuConvertUpper", "Convert to &Uppercase");
    m.deleteRecords = item(m.utilities, "mnuDeleteRecords", "Delete &Records");
    m.copyOut = item(m.utilities, "mnuCopyOut", "Copy Records &Out");
    m.searchReplace = item(m.utilities, "mnuSearchReplace", "&Search && Replace Field Values");

    m.labels = command(bar, "mnuLabels", "&Labels");
    m.envelopes = command(bar, "mnuEnvelopes", "En&velopes");
    m.letters = command(bar, "mnuLetters", "Le&tters");
    m.reports = command(bar, "mnuReports", "&Reports");

    m.help = menu(bar, "mnuHelp", "&Help");
    m.contents = item(m.help, "mnuContents", "&Contents");
    m.about = item(m.help, "mnuAbout", "&About");
    return m;
}

QString MainMenus::tagForCaption(const QString& caption) const {
    const QString compared = caption.mid(1, 30).toUpper();
    for (const OrderItem& o : orderItems) {
        if (compared == QLatin1String(o.compared)) return QLatin1String(o.tag);
    }
    return {};
}

QAction* MainMenus::orderAction(const QString& tag) const {
    for (const OrderItem& o : orderItems) {
        if (tag == QLatin1String(o.tag)) return o.action;
    }
    return nullptr;
}

}  // namespace qb
