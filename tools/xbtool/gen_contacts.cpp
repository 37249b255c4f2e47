// Synthetic contacts: names, streets, cities with matching states and ZIP prefixes, a few
// foreign addresses with accented letters, dates, memos and soft-deleted records.
#include "gen_contacts.h"

#include <cstdio>
#include <string>
#include <vector>

#include "store/contact_schema.h"
#include "xbase/date.h"
#include "xbase/work_area.h"

namespace qb::tools {

namespace {

// splitmix64: fully specified, so every platform makes the same file from a seed.
class Rng {
  public:
    explicit Rng(uint64_t seed) : s_(seed ^ 0x9E3779B97F4A7C15ull) {}
    uint64_t next() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t below(uint32_t n) { return n ? uint32_t(next() % n) : 0; }
    bool chance(int percent) { return below(100) < uint32_t(percent); }
    // Skewed towards the front of a list, as real name frequencies are.
    uint32_t skewed(uint32_t n) {
        double u = double(next() >> 11) / double(1ull << 53);
        return uint32_t(u * u * n) % n;
    }
    template <class T>
    const T& pick(const std::vector<T>& v) {
        return v[below(uint32_t(v.size()))];
    }

  private:
    uint64_t s_;
};

const std::vector<const char*> kLast = {
    "Smith",    "Johnson",   "Williams",   "Brown",     "Jones",    "Garcia",     "Miller",
    "Davis",    "Rodriguez", "Martinez",   "Hernandez", "Lopez",    "Gonzalez",   "Wilson",
    "Anderson", "Thomas",    "Taylor",     "Moore",     "Jackson",  "Martin",     "Lee",
    "Perez",    "Thompson",  "White",      "Harris",    "Sanchez",  "Clark",      "Ramirez",
    "Lewis",    "Robinson",  "Walker",     "Young",     "Allen",    "King",       "Wright",
    "Scott",    "Torres",    "Nguyen",     "Hill",      "Flores",   "Green",      "Adams",
    "Nelson",   "Baker",     "Hall",       "Rivera",    "Campbell", "Mitchell",   "Carter",
    "Roberts",  "Gomez",     "Phillips",   "Evans",     "Turner",   "Diaz",       "Parker",
    "Cruz",     "Edwards",   "Collins",    "Reyes",     "Stewart",  "Morris",     "Morales",
    "Murphy",   "Cook",      "Rogers",     "Gutierrez", "Ortiz",    "Morgan",     "Cooper",
    "Peterson", "Bailey",    "Reed",       "Kelly",     "Howard",   "Ramos",      "Kim",
    "Cox",      "Ward",      "Richardson", "Watson",    "Brooks",   "Chavez",     "Wood",
    "James",    "Bennett",   "Gray",       "Mendoza",   "Ruiz",     "Hughes",     "Price",
    "Alvarez",  "Castillo",  "Sanders",    "Patel",     "Myers",    "Long",       "Ross",
    "Foster",   "Jimenez",   "O'Brien",    "McDonald",  "Van Dyke", "de la Cruz", "St. John",
    "Lee-Wong", "MacArthur"};
const std::vector<const char*> kSyllables = {
    "ab",  "ber", "cal", "dor", "el",   "fen",   "gar",  "hol", "in",  "jor", "kin",  "lam",
    "mar", "nor", "ost", "pel", "quin", "ros",   "sten", "tor", "ul",  "ver", "wick", "yar",
    "zel", "ham", "ley", "son", "ton",  "field", "berg", "man", "ski", "ova", "ini",  "ez"};
const std::vector<const char*> kFirst = {
    "James",   "Mary",      "Robert",    "Patricia", "John",      "Jennifer", "Michael",
    "Linda",   "David",     "Elizabeth", "William",  "Barbara",   "Richard",  "Susan",
    "Joseph",  "Jessica",   "Thomas",    "Sarah",    "Charles",   "Karen",    "Christopher",
    "Lisa",    "Daniel",    "Nancy",     "Matthew",  "Betty",     "Anthony",  "Margaret",
    "Mark",    "Sandra",    "Donald",    "Ashley",   "Steven",    "Kimberly", "Paul",
    "Emily",   "Andrew",    "Donna",     "Joshua",   "Michelle",  "Kenneth",  "Carol",
    "Kevin",   "Amanda",    "Brian",     "Dorothy",  "George",    "Melissa",  "Timothy",
    "Deborah", "Ronald",    "Stephanie", "Edward",   "Rebecca",   "Jason",    "Sharon",
    "Jeffrey", "Laura",     "Ryan",      "Cynthia",  "Jacob",     "Kathleen", "Gary",
    "Amy",     "Nicholas",  "Angela",    "Eric",     "Shirley",   "Jonathan", "Anna",
    "Stephen", "Brenda",    "Larry",     "Pamela",   "Justin",    "Emma",     "Scott",
    "Nicole",  "Brandon",   "Helen",     "Benjamin", "Samantha",  "Samuel",   "Katherine",
    "Gregory", "Christine", "Alexander", "Debra",    "Frank",     "Rachel",   "Patrick",
    "Carolyn", "Raymond",   "Janet",     "Jack",     "Catherine", "Dennis",   "Maria",
    "Jerry",   "Heather",   "Tyler",     "Diane",    "Aaron",     "Ruth",     "Jose",
    "Julie",   "Adam",      "Olivia",    "Nathan",   "Joyce",     "Henry",    "Virginia",
    "Zoë",     "José",      "Renée",     "Chloé"};
const std::vector<const char*> kTitles = {
    "President",      "Vice President", "Director",  "Manager",   "Sales Manager",
    "Office Manager", "Accountant",     "Engineer",  "Attorney",  "Physician",
    "Teacher",        "Owner",          "Partner",   "Secretary", "Treasurer",
    "Consultant",     "Pastor",         "Principal", "Buyer",     "Analyst"};
const std::vector<const char*> kOrgWords = {
    "Acme",     "Summit",   "Pioneer",   "Liberty",     "Heritage",  "Evergreen", "Harbor",
    "Keystone", "Midland",  "Riverside", "Cornerstone", "Northwind", "Bluebird",  "Granite",
    "Oakwood",  "Lakeside", "Prairie",   "Sterling",    "Redwood",   "Union"};
const std::vector<const char*> kOrgKinds = {
    "Inc",          "LLC",          "Corp",         "Bank",
    "Savings Bank", "Insurance",    "Church",       "School District",
    "Hardware",     "Realty",       "Dental Group", "Law Offices",
    "Foundation",   "Credit Union", "Motors"};
const std::vector<const char*> kStreets = {
    "Main",   "Oak",   "Pine",     "Maple",  "Cedar",    "Elm",     "Washington",
    "Lake",   "Hill",  "Park",     "Walnut", "Sunset",   "Lincoln", "Jackson",
    "Church", "River", "Highland", "Mill",   "Spring",   "Center",  "Franklin",
    "Adams",  "Ridge", "Meadow",   "Forest", "Chestnut", "Willow",  "Broad"};
const std::vector<const char*> kSuffixes = {"St", "Ave", "Rd",  "Blvd", "Dr",
                                            "Ln", "Ct",  "Way", "Pl"};

struct City {
    const char* name;
    const char* state;
    const char* zip3;
    const char* area;
};
const std::vector<City> kCities = {
    {"New York", "NY", "100", "212"},     {"Brooklyn", "NY", "112", "718"},
    {"Buffalo", "NY", "142", "716"},      {"Los Angeles", "CA", "900", "213"},
    {"San Diego", "CA", "921", "619"},    {"San Francisco", "CA", "941", "415"},
    {"Sacramento", "CA", "958", "916"},   {"Chicago", "IL", "606", "312"},
    {"Springfield", "IL", "627", "217"},  {"Houston", "TX", "770", "713"},
    {"Dallas", "TX", "752", "214"},       {"Austin", "TX", "787", "512"},
    {"El Paso", "TX", "799", "915"},      {"Phoenix", "AZ", "850", "602"},
    {"Tucson", "AZ", "857", "520"},       {"Philadelphia", "PA", "191", "215"},
    {"Pittsburgh", "PA", "152", "412"},   {"Jacksonville", "FL", "322", "904"},
    {"Miami", "FL", "331", "305"},        {"Tampa", "FL", "336", "813"},
    {"Columbus", "OH", "432", "614"},     {"Cleveland", "OH", "441", "216"},
    {"Indianapolis", "IN", "462", "317"}, {"Charlotte", "NC", "282", "704"},
    {"Raleigh", "NC", "276", "919"},      {"Seattle", "WA", "981", "206"},
    {"Spokane", "WA", "992", "509"},      {"Denver", "CO", "802", "303"},
    {"Boston", "MA", "021", "617"},       {"Worcester", "MA", "016", "508"},
    {"Nashville", "TN", "372", "615"},    {"Memphis", "TN", "381", "901"},
    {"Detroit", "MI", "482", "313"},      {"Grand Rapids", "MI", "495", "616"},
    {"Portland", "OR", "972", "503"},     {"Las Vegas", "NV", "891", "702"},
    {"Baltimore", "MD", "212", "410"},    {"Milwaukee", "WI", "532", "414"},
    {"Albuquerque", "NM", "871", "505"},  {"Atlanta", "GA", "303", "404"},
    {"Savannah", "GA", "314", "912"},     {"Omaha", "NE", "681", "402"},
    {"Minneapolis", "MN", "554", "612"},  {"New Orleans", "LA", "701", "504"},
    {"Wichita", "KS", "672", "316"},      {"St. Louis", "MO", "631", "314"},
    {"Kansas City", "MO", "641", "816"},  {"Louisville", "KY", "402", "502"},
    {"Richmond", "VA", "232", "804"},     {"Salt Lake City", "UT", "841", "801"},
    {"Birmingham", "AL", "352", "205"},   {"Little Rock", "AR", "722", "501"},
    {"Des Moines", "IA", "503", "515"},   {"Hartford", "CT", "061", "860"},
    {"Providence", "RI", "029", "401"},   {"Burlington", "VT", "054", "802"},
    {"Portland", "ME", "041", "207"},     {"Anchorage", "AK", "995", "907"},
    {"Honolulu", "HI", "968", "808"},     {"Boise", "ID", "837", "208"},
    {"Fargo", "ND", "581", "701"},        {"Sioux Falls", "SD", "571", "605"},
    {"Billings", "MT", "591", "406"},     {"Cheyenne", "WY", "820", "307"},
    {"Charleston", "WV", "253", "304"},   {"Washington", "DC", "200", "202"},
    {"San Juan", "PR", "009", "787"},     {"Wilmington", "DE", "198", "302"},
    {"Newark", "NJ", "071", "973"},       {"Manchester", "NH", "031", "603"},
    {"Jackson", "MS", "392", "601"},      {"Oklahoma City", "OK", "731", "405"},
    {"Columbia", "SC", "292", "803"}};

struct Foreign {
    const char* city;
    const char* region;
    const char* postal;
    const char* country;
    const char* street;
};
const std::vector<Foreign> kForeign = {
    {"Toronto", "ON", "M5V 2T6", "Canada", "King St W"},
    {"Montréal", "QC", "H2X 1Y4", "Canada", "Rue Saint-Denis"},
    {"Vancouver", "BC", "V6B 1A1", "Canada", "Granville St"},
    {"London", "", "SW1A 1AA", "United Kingdom", "Whitehall"},
    {"Edinburgh", "", "EH1 1YZ", "United Kingdom", "Royal Mile"},
    {"München", "Bayern", "80331", "Germany", "Marienstraße"},
    {"Köln", "NRW", "50667", "Germany", "Hohe Straße"},
    {"Paris", "", "75001", "France", "Rue de Rivoli"},
    {"Zürich", "ZH", "8001", "Switzerland", "Bahnhofstrasse"},
    {"Mexico City", "CDMX", "06000", "Mexico", "Avenida Juárez"}};
const std::vector<const char*> kForeignLast = {"Müller", "Schäfer", "Lefèvre",  "Gagné",
                                               "Ñúñez",  "Björk",   "O'Connor", "Dubois"};
const std::vector<const char*> kCodes = {"VIP",   "XMAS",   "A1",    "B2",
                                         "DONOR", "MEMBER", "PRESS", "BOARD"};
const std::vector<const char*> kMemoLines = {
    "Met at the spring fair; interested in the newsletter.",
    "Prefers contact by mail, not by phone.",
    "Annual donor since 2004.",
    "Moved from the old address in March; forward everything.",
    "Send the catalog in the fall mailing.",
    "Asked to be left off the holiday card list.",
    "Spouse also on the board.",
    "Call before 5 pm Eastern."};

std::string inventedSurname(Rng& rng) {
    std::string s = rng.pick(kSyllables);
    int parts = 1 + int(rng.below(2));
    for (int i = 0; i < parts; ++i)
        s += rng.pick(kSyllables);
    s[0] = char(s[0] - 'a' + 'A');
    return s;
}

std::string digits(Rng& rng, int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += char('0' + rng.below(10));
    return s;
}

std::string lowerAscii(const std::string& s) {
    std::string o;
    for (unsigned char c : s)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) o += char(c | 0x20);
    return o;
}

}  // namespace

void generateContacts(const std::string& path, uint32_t n, uint64_t seed) {
    createContactTable(path);
    xb::WorkArea area;
    area.use(path, xb::UseMode::Exclusive);
    addContacts(area, n, seed);
    buildContactTags(area);
    area.close();
}

void addContacts(xb::WorkArea& area, uint32_t n, uint64_t seed) {
    Rng rng(seed);
    const xb::Jdn firstDay = xb::jdnFromYmd(1990, 1, 1);
    const xb::Jdn lastDay = xb::jdnFromYmd(2026, 12, 31);
    for (uint32_t i = 0; i < n; ++i) {
        area.append();
        bool foreign = rng.chance(3);
        std::string last = foreign && rng.chance(50) ? rng.pick(kForeignLast)
                           : rng.chance(30)          ? inventedSurname(rng)
                                                     : kLast[rng.skewed(uint32_t(kLast.size()))];
        std::string first = kFirst[rng.skewed(uint32_t(kFirst.size()))];
        area.putText("LNAME", last);
        area.putText("FNAME", first);
        if (rng.chance(70)) area.putText("MIDDLE", std::string(1, char('A' + rng.below(26))));
        if (rng.chance(60)) area.putText("TITLE", rng.pick(kTitles));
        if (rng.chance(50))
            area.putText("ORG", std::string(rng.pick(kOrgWords)) + " " + rng.pick(kOrgKinds));
        if (foreign) {
            const Foreign& f = rng.pick(kForeign);
            area.putText("STREET", std::to_string(1 + rng.below(300)) + " " + f.street);
            area.putText("CITY", f.city);
            area.putText("STATE", f.region);
            area.putText("ZIP", f.postal);
            area.putText("COUNTRY", f.country);
            area.putText("PHONE",
                         "+" + digits(rng, 2) + " " + digits(rng, 3) + " " + digits(rng, 6));
        } else {
            const City& c = rng.pick(kCities);
            std::string street = rng.chance(8) ? "PO Box " + std::to_string(1 + rng.below(9999))
                                               : std::to_string(1 + rng.below(19999)) + " " +
                                                     rng.pick(kStreets) + " " + rng.pick(kSuffixes);
            if (rng.chance(10)) street += " Apt " + std::to_string(1 + rng.below(40));
            area.putText("STREET", street);
            area.putText("CITY", c.name);
            area.putText("STATE", c.state);
            std::string zip = std::string(c.zip3) + digits(rng, 2);
            if (rng.chance(25)) zip += "-" + digits(rng, 4);
            area.putText("ZIP", zip);
            if (rng.chance(10)) area.putText("COUNTRY", "USA");
            area.putText("PHONE",
                         std::string("(") + c.area + ") " + digits(rng, 3) + "-" + digits(rng, 4));
            if (rng.chance(20))
                area.putText("FAX", std::string("(") + c.area + ") " + digits(rng, 3) + "-" +
                                        digits(rng, 4));
        }
        if (rng.chance(60))
            area.putText("EMAIL", lowerAscii(first) + "." + lowerAscii(last) + "@example.com");
        if (rng.chance(40)) area.putText("NOTES", rng.pick(kCodes));
        bool softDeleted = rng.chance(1);
        if (softDeleted)
            area.putText("PREFIX", "DELETED");
        else if (rng.chance(50))
            area.putText("PREFIX", rng.chance(50) ? "Mr." : rng.chance(50) ? "Ms." : "Dr.");
        if (rng.chance(90))
            area.putDate("DATE", firstDay + xb::Jdn(rng.below(uint32_t(lastDay - firstDay + 1))));
        if (rng.chance(20)) area.putNumber("SEQNO", double(int(rng.below(101000)) - 1000));
        if (rng.chance(10)) {
            std::string memo = rng.pick(kMemoLines);
            if (rng.chance(40)) memo += "\r\n" + std::string(rng.pick(kMemoLines));
            area.replace("MEMO", memo);
        }
        area.post();
        if (softDeleted) area.deleteRecord();
    }
}

}  // namespace qb::tools
