// The demo organisation in the Infrastructure Database: persons, units,
// workgroups and roles of Marvelund.

#include <map>

#include "repository/databasetemplates.h"
#include "repository/demowriter.h"

namespace velk::demo {

namespace {

struct Person {
  const char* first;
  const char* last;
  const char* unit;  // the "OU" part of the canonical name
};

constexpr Person kPersons[] = {
    {"Ann", "Lee", "Sales"},
    {"Carlos", "Mendes", "Sales"},
    {"Dana", "Fischer", "Sales"},
    {"Erik", "Olsen", "Sales"},
    {"Fiona", "Walsh", "Sales"},
    {"Greta", "Nilsson", "Sales"},
    {"Hugo", "Brandt", "Sales"},
    {"Ines", "Moreau", "Sales"},
    {"Bernd", "Krause", "Purchasing"},
    {"Julia", "Novak", "Purchasing"},
    {"Kai", "Becker", "Purchasing"},
    {"Lena", "Hoffmann", "Purchasing"},
    {"Marco", "Rossi", "Purchasing"},
    {"Nina", "Petrova", "Purchasing"},
    {"Oskar", "Lindqvist", "Finance"},
    {"Paula", "Schmidt", "Finance"},
    {"Quentin", "Dubois", "Finance"},
    {"Rita", "Kowalski", "Finance"},
    {"Stefan", "Wagner", "Finance"},
    {"Tanja", "Richter", "Finance"},
    {"Uwe", "Hartmann", "Logistics"},
    {"Vera", "Jansen", "Logistics"},
    {"Walter", "Klein", "Logistics"},
    {"Xenia", "Popescu", "Logistics"},
    {"Yusuf", "Demir", "Logistics"},
    {"Zoe", "Clarke", "Logistics"},
    {"Anton", "Weber", "Logistics"},
    {"Birgit", "Vogel", "IT"},
    {"Chen", "Wei", "IT"},
    {"David", "Horvath", "IT"},
    {"Elena", "Sokolova", "IT"},
    {"Felix", "Braun", "IT"},
    {"Gisela", "Frank", "Human Resources"},
    {"Henrik", "Dahl", "Human Resources"},
    {"Irene", "Bauer", "Human Resources"},
    {"Jonas", "Meyer", "Human Resources"},
    {"Karin", "Lange", "Management"},
    {"Lukas", "Zimmermann", "Management"},
    {"Maria", "Santos", "Management"},
    {"Niklas", "Graf", "Management"},
};

// A functional mailbox with a flat name, listed as it is.
constexpr char kFlatPerson[] = "Reception Desk";

// The abbreviated name of the person with the given first name (first names are unique).
std::string Member(const std::string& first) {
  static const std::map<std::string, std::string> names = [] {
    std::map<std::string, std::string> m;
    for (const Person& p : kPersons)
      m[p.first] = Abbreviated(p.first, p.last, p.unit, kDemoOrganisation);
    return m;
  }();
  return names.at(first);
}

Names Members(const std::vector<const char*>& firsts) {
  Names names;
  for (const char* first : firsts) names.push_back(Member(first));
  return names;
}

void WritePersons(LNDatabase& db) {
  for (const Person& p : kPersons) {
    DocumentWriter(db, forms::kPerson)
        .text("FullName", Canonical(p.first, p.last, p.unit, kDemoOrganisation))
        .text("LastName", p.last)
        .text("FirstName", p.first)
        .save();
  }
  DocumentWriter(db, forms::kPerson)
      .text("FullName", kFlatPerson)
      .text("LastName", kFlatPerson)
      .save();
}

struct Group {
  const char* arrangement;  // units only
  const char* name;
  const char* manager;
  std::vector<const char*> members;
};

void WriteUnits(LNDatabase& db) {
  const Group units[] = {
      {"Sales", "North", "Ann", {"Ann", "Carlos", "Dana", "Erik"}},
      {"Sales", "South", "Fiona", {"Fiona", "Greta", "Hugo", "Ines"}},
      {"Purchasing", "Strategic", "Bernd", {"Bernd", "Julia", "Kai"}},
      {"Purchasing", "Operative", "Lena", {"Lena", "Marco", "Nina"}},
      {"Finance", "Accounting", "Oskar", {"Oskar", "Paula", "Quentin"}},
      {"Finance", "Controlling", "Rita", {"Rita", "Stefan", "Tanja"}},
      {"Logistics", "Warehouse", "Uwe", {"Uwe", "Vera", "Walter", "Xenia"}},
      {"Logistics", "Dispatch", "Yusuf", {"Yusuf", "Zoe", "Anton"}},
      {"IT", "Operations", "Birgit", {"Birgit", "Chen", "David"}},
      {"IT", "Development", "Elena", {"Elena", "Felix"}},
      {"Human Resources", "Personnel", "Gisela", {"Gisela", "Henrik", "Irene", "Jonas"}},
      // A unit outside any arrangement is listed as "/Board".
      {"", "Board", "Karin", {"Karin", "Lukas", "Maria", "Niklas"}},
  };
  for (const Group& u : units) {
    DocumentWriter(db, forms::kUnit)
        .text("NewArrangement", u.arrangement)
        .text("NewUnit", u.name)
        .text("NewManager", Member(u.manager))
        .list("NewPersons", Members(u.members))
        .save();
  }
}

void WriteWorkgroups(LNDatabase& db) {
  const Group workgroups[] = {
      {"", "Order Desk", "Ann", {"Ann", "Carlos", "Greta", "Vera"}},
      {"", "Credit Committee", "Oskar", {"Oskar", "Rita", "Karin", "Bernd"}},
      {"", "IT Support", "Birgit", {"Birgit", "Chen", "David", "Felix"}},
      {"", "Works Council", "Henrik", {"Henrik", "Irene", "Walter", "Dana"}},
      {"", "Quality Circle", "Lukas", {"Lukas", "Uwe", "Kai", "Fiona", "Elena"}},
  };
  for (const Group& w : workgroups) {
    DocumentWriter(db, forms::kWorkgroup)
        .text("NewWorkgroup", w.name)
        .text("NewManager", Member(w.manager))
        .list("NewPersons", Members(w.members))
        .save();
  }
}

// One document per role and parameter; documents of one role are merged when read.
void WriteRoles(LNDatabase& db) {
  const std::pair<const char*, const char*> roles[] = {
      {"Clerk", "A"},
      {"Clerk", "B"},
      {"Clerk", ""},
      {"Approver", "up to 10000 EUR"},
      {"Approver", "above 10000 EUR"},
      {"Buyer", "Region North"},
      {"Buyer", "Region South"},
      {"Team Lead", ""},
      {"Accountant", ""},
      {"Dispatcher", ""},
  };
  for (const auto& [name, parameter] : roles)
    DocumentWriter(db, forms::kRole).text("Name", name).text("Parameter", parameter).save();
}

}  // namespace

void WriteInfrastructure(LNDatabase& db) {
  WritePersons(db);
  WriteUnits(db);
  WriteWorkgroups(db);
  WriteRoles(db);
}

}  // namespace velk::demo
