#include "tools/organiser_samples.h"

#include <cstdint>
#include <vector>

#include "support/organiser_builder.h"

namespace vessory::tools {

namespace {

using testing::CategoryPlan;
using testing::ContactPlan;
using testing::MemoPlan;
using testing::OrganiserArchivePlan;
using testing::TodoPlan;

// Phone label codes.
enum : std::uint32_t { kWork, kHome, kFax, kOther, kEmail, kMain, kPager, kMobile };

// Local midnight in New York (EDT, UTC-4) at the start of the given April 2002 day, as the
// desktop stores a due date.
constexpr std::uint32_t aprilDay(std::uint32_t day) { return 1017633600 + (day - 1) * 86400; }

constexpr std::uint32_t kDeleted = 0x04;

OrganiserArchivePlan withCategories(std::vector<CategoryPlan> categories) {
  OrganiserArchivePlan archive;
  archive.categories = std::move(categories);
  return archive;
}

ContactPlan person(std::string last, std::string first, std::uint32_t category) {
  ContactPlan contact;
  contact.lastName = std::move(last);
  contact.firstName = std::move(first);
  contact.category = category;
  return contact;
}

std::vector<ContactPlan> sampleContacts() {
  std::vector<ContactPlan> c;
  c.push_back(person("M\xFCller", "J\xFCrgen", 1));
  c.back().title = "Ingenieur";
  c.back().company = "M\xFCller & S\xF6hne GmbH";
  c.back().phones = {{{kWork, "+49 89 1234567"},
                      {kMobile, "+49 171 7654321"},
                      {kEmail, "juergen@mueller-soehne.example"},
                      {kHome, ""},
                      {kFax, ""}}};
  c.back().address =
      "Hauptstra\xDF"
      "e 5";
  c.back().city = "M\xFCnchen";
  c.back().zipCode = "80331";
  c.back().country = "Germany";
  c.push_back(person("", "", 1));
  c.back().company = "Acme Hardware";
  c.back().phones = {
      {{kMain, "555-0100"}, {kFax, "555-0199"}, {kWork, ""}, {kHome, ""}, {kEmail, ""}}};
  c.back().address = "Building 4\r\n1200 Industrial Pkwy";
  c.back().city = "Springfield";
  c.back().state = "IL";
  c.back().zipCode = "62701";
  c.back().country = "USA";
  c.push_back(person("Lindqvist", "Anna", 2));
  c.back().phones = {{{kHome, "555-0123"},
                      {kMobile, "555-0124"},
                      {kEmail, "anna@example.com"},
                      {kWork, ""},
                      {kFax, ""}}};
  c.back().note = "Met at the book club.\r\nLikes green tea, not coffee.";
  c.back().custom = {"April 10", "", "", ""};
  c.push_back(person("Okafor", "Ben", 2));
  c.back().phones = {
      {{kPager, "555-0150"}, {kOther, "555-0151 (cabin)"}, {kWork, ""}, {kHome, ""}, {kEmail, ""}}};
  c.back().isPrivate = 1;
  c.push_back(
      person("N\xFA\xF1"
             "ez",
             "Carla", 0));
  c.back().title = "Dr.";
  c.back().phones[0] = {kWork, "555-0170"};
  c.back().custom = {"May 3", "Tom\xE1s", "Vegetarian", "Boston office"};
  c.back().note = "Custom fields: birthday, spouse, diet, office.";
  c.push_back(person("Lef\xE8vre", "Fran\xE7ois", 1));
  c.back().company = "Soci\xE9t\xE9 G\xE9n\xE9rale des Eaux";
  c.back().phones = {{{kWork, "+33 1 42 00 00 00"},
                      {kFax, "+33 1 42 00 00 01"},
                      {kHome, ""},
                      {kOther, ""},
                      {kEmail, ""}}};
  c.back().city = "Paris";
  c.back().country = "France";
  c.back().note = "Prefers French; answers e-mail, not faxes, on Fridays.";
  c.push_back(person("", "Mom", 2));
  c.back().phones[0] = {kHome, "555-0111"};
  c.back().isPrivate = 1;
  c.push_back(
      person("\xD8"
             "degaard",
             "Zo\xEB", 0));
  c.back().phones[0] = {kEmail, "zoe.odegaard@example.no"};
  c.push_back(person("", "", 2));
  c.back().company = "Dr. Park Dental";
  c.back().phones[0] = {kMain, "555-0180"};
  c.back().note = "Bring the insurance card";
  c.push_back(person("Helpdesk", "", 1));
  c.back().company = "Widget Corp; IT";
  c.back().phones = {
      {{kWork, "x4357"}, {kEmail, "help@widget.example"}, {kHome, ""}, {kOther, ""}, {kFax, ""}}};
  c.push_back(
      person("Sch\xE4"
             "fer",
             "Klara", 2));
  c.back().phones = {{{kMobile, "+49 160 5551234"},
                      {kHome, "+49 30 5551234"},
                      {kWork, ""},
                      {kOther, ""},
                      {kEmail, ""}}};
  c.back().address = "Am Flu\xDF 12";
  c.back().city = "Berlin";
  c.back().country = "Germany";
  c.push_back(person("Landlord (old)", "", 0));
  c.back().phones[0] = {kWork, "555-0000"};
  c.back().status = kDeleted;
  for (std::size_t i = 0; i < c.size(); ++i) c[i].recordId = 7340033 + std::uint32_t(i);
  return c;
}

TodoPlan todo(std::string what, std::uint32_t due, std::uint32_t priority, std::uint32_t category) {
  TodoPlan t;
  t.description = std::move(what);
  t.dueDate = due;
  t.priority = priority;
  t.category = category;
  return t;
}

std::vector<TodoPlan> sampleTodos() {
  using testing::kNoDueDate;
  std::vector<TodoPlan> t;
  t.push_back(todo("Pay the rent", aprilDay(1), 1, 2));
  t.push_back(todo("Finish the report draft", aprilDay(3), 2, 1));
  t.back().completed = 1;
  t.push_back(todo("Call plumber", kNoDueDate, 3, 2));
  t.push_back(todo("Book flight to Denver", aprilDay(5), 1, 3));
  t.back().completed = 1;
  t.back().note = "UA 291, window seat\r\nConfirmation in the e-mail of March 28";
  t.push_back(todo("Birthday present for Anna", aprilDay(10), 2, 2));
  t.back().isPrivate = 1;
  t.push_back(todo("Renew passport", kNoDueDate, 4, 3));
  t.back().note = "Photos: 2, recent; the old passport goes with the form.";
  t.push_back(todo("Plant tomatoes", aprilDay(6), 5, 0));
  t.push_back(todo("Budget review slides", aprilDay(15), 3, 1));
  t.push_back(todo("Return library books", aprilDay(20), 4, 0));
  t.back().completed = 1;
  t.push_back(todo("Car: new brakes?", aprilDay(28), 5, 0));
  t.back().isPrivate = 1;
  t.back().note = "Garage on 5th St.";
  t.push_back(
      todo("Brief an Klara schreiben \x96 Gr\xFC\xDF"
           "e",
           kNoDueDate, 3, 2));
  t.push_back(todo("Order printer toner", aprilDay(8), 2, 1));
  t.back().status = kDeleted;
  for (std::size_t i = 0; i < t.size(); ++i) t[i].recordId = 7405569 + std::uint32_t(i);
  return t;
}

MemoPlan memo(std::string text, std::uint32_t category, std::uint32_t isPrivate = 0) {
  MemoPlan m;
  m.text = std::move(text);
  m.category = category;
  m.isPrivate = isPrivate;
  return m;
}

std::vector<MemoPlan> sampleMemos() {
  std::string packing = "Trip to Denver: packing list\r\n";
  for (const char* item :
       {"passport (just in case)", "two suits", "laptop and charger", "conference badge",
        "running shoes", "book for the flight", "umbrella", "toothbrush", "adapter plugs",
        "business cards", "printed slides", "gift for the hosts", "camera and film"}) {
    packing += "- ";
    packing += item;
    packing += "\r\n";
  }
  packing += "Check the weather the night before: April in Denver can bring snow.";
  std::vector<MemoPlan> m;
  m.push_back(memo("Shopping list\r\nMilk\r\nBread\r\nTomatoes", 2));
  m.push_back(memo("Shopping list\r\nCoffee\r\nBasil", 2));
  m.push_back(memo("../Plans: Q3?\r\nHire two engineers\r\nMove the office to the 4th floor", 1));
  m.push_back(memo("", 0));
  m.push_back(memo(packing, 3));
  m.push_back(memo("Passwords\r\nBank: see the note in the safe", 2, 1));
  m.push_back(
      memo("B\xFC"
           "cher f\xFC"
           "r den Sommer\r\nDer Zauberberg\r\nStiller",
           2));
  m.push_back(memo("   \r\n  Book club picks\r\nApril: Middlemarch", 2));
  m.push_back(memo("Meeting notes 2002-04-08\r\nAgreed on the new schedule and the budget.", 1));
  m.push_back(memo("Gift ideas\r\nAnna: a scarf\r\nBen: a book on birds", 2, 1));
  m.push_back(memo("Caf\xE9 addresses, Denver\r\nLarimer Square", 3));
  for (std::size_t i = 0; i < m.size(); ++i) m[i].recordId = 7471105 + std::uint32_t(i);
  return m;
}

}  // namespace

std::string sampleAddressArchive() {
  return testing::buildAddressArchive(
      withCategories({{1, 1, 0, "Business", "Busi"}, {2, 2, 0, "Personal", "Pers"}}),
      sampleContacts());
}

std::string sampleTodoArchive() {
  return testing::buildTodoArchive(withCategories({{1, 1, 0, "Business", "Busi"},
                                                   {2, 2, 0, "Personal", "Pers"},
                                                   {3, 129, 0, "Travel", "Trav"}}),
                                   sampleTodos());
}

std::string sampleMemoArchive() {
  return testing::buildMemoArchive(withCategories({{1, 1, 0, "Business", "Busi"},
                                                   {2, 2, 0, "Personal", "Pers"},
                                                   {3, 129, 0, "Travel", "Trav"}}),
                                   sampleMemos());
}

}  // namespace vessory::tools
