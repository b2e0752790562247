#include "bench/person.h"

#include <algorithm>

namespace talveron::bench {

namespace {

// Names pass the LN character set; none contains TEST or TRAIN, which the test-name check flags.
constexpr std::array<std::string_view, 40> kFirstNames{
    "MARGARET", "DAVID",    "LINDA",       "THOMAS",  "PRIYA",     "JAMES",    "SUSAN",  "ROBERT",
    "ANGELA",   "MICHAEL",  "KAREN",       "HIROSHI", "WILLIAM",   "JENNIFER", "DANIEL", "MARIA",
    "KEVIN",    "PATRICIA", "ANDRE",       "SOFIA",   "GEORGE",    "RACHEL",   "ISAAC",  "NANCY",
    "SAMUEL",   "YVONNE",   "CHRISTOPHER", "ELENA",   "OLUWASEUN", "MEI-LING", "JOSE",   "FATIMA",
    "DMITRI",   "AISHA",    "LUCAS",       "INGRID",  "RAJESH",    "CHLOE",    "TOMASZ", "GRACE"};

constexpr std::array<std::string_view, 48> kLastNames{
    "KOWALSKI",  "OKAFOR",       "GARCIA-LOPEZ", "O'BRIEN",     "RAGHAVAN",     "WHITFIELD",
    "NAKAMURA",  "VAN DER BERG", "DUBOIS",       "ST. JOHN",    "LINDQVIST",    "MBEKI",
    "PETROVA",   "TANAKA",       "HARGROVE",     "MCALLISTER",  "ABERNATHY",    "SANTOS-REYES",
    "O'CONNELL", "HOLLOWAY",     "FONTAINE",     "ESPINOZA",    "PAPADOPOULOS", "BLOOMFIELD",
    "ADEYEMI",   "KILPATRICK",   "GREENE",       "CHARBONNEAU", "NGUYEN",       "SCHMIDT",
    "ROSSI",     "JOHANSSON",    "HERNANDEZ",    "WOJCIK",      "OYELARAN",     "DE LA CRUZ",
    "MACDONALD", "SATO",         "KIM",          "PATEL",       "ANDERSSON",    "BECKER",
    "MORALES",   "ZHANG",        "IVANOV",       "HALVORSEN",   "DUPONT",       "FITZGERALD"};

struct Job {
    std::string_view facilityCode;  // AN: letters and digits only
    std::string_view occupation;    // AS: letters and blanks only
};

constexpr std::array<Job, 18> kJobs{{
    {"NUCMED", "NUC MED TECHNOLOGIST"},
    {"NUCMED", "NURSE"},
    {"RADONC", "RADIATION THERAPIST"},
    {"RADONC", "MEDICAL PHYSICIST"},
    {"CATHLAB", "CARDIOLOGIST"},
    {"CATHLAB", "CATH LAB NURSE"},
    {"INTRAD", "RADIOLOGIST"},
    {"RXPHARM", "RADIOPHARMACIST"},
    {"RESLAB", "RESEARCH SCIENTIST"},
    {"CYCLOTRON", "CYCLOTRON OPERATOR"},
    {"RSO", "HEALTH PHYSICIST"},
    {"NDT2", "RADIOGRAPHER"},
    {"REACTOR1", "REACTOR OPERATOR"},
    {"FUELFAB", "PROCESS OPERATOR"},
    {"WELLLOG", "LOGGING ENGINEER"},
    {"GAUGES", "GAUGE USER"},
    {"", ""},
    {"RESLAB", ""},
}};

struct IdentifierType {
    std::string_view idType;
    std::string_view prefix;  // letters in front of the nine digits
    std::uint32_t share;      // in 10,000
};

constexpr std::array<IdentifierType, 4> kIdentifierTypes{
    {{"SSN", "", 9000}, {"PPN", "C", 400}, {"WPN", "W", 300}, {"OTH", "LU", 300}}};

constexpr std::uint64_t kIdentifierSpace = 900'000'000;
/// Odd and not divisible by 3 or 5, so index -> index * factor is one-to-one modulo the space.
constexpr std::uint64_t kIdentifierFactor = 982'451'653;

template <std::size_t N>
std::string_view Pick(const std::array<std::string_view, N>& names, RandomStream& random) {
    return names[random.below(N)];
}

const IdentifierType& DrawIdentifierType(RandomStream& random) {
    std::uint32_t draw = random.below(10000);
    for (const IdentifierType& type : kIdentifierTypes) {
        if (draw < type.share) return type;
        draw -= type.share;
    }
    return kIdentifierTypes.front();
}

}  // namespace

Person Person::Make(std::uint64_t index, std::uint64_t idSalt, bool blankIdentifier,
                    RandomStream& random) {
    Person person;
    const IdentifierType& type =
        blankIdentifier ? kIdentifierTypes.front() : DrawIdentifierType(random);
    person.idType_ = type.idType;
    if (!blankIdentifier) {
        std::uint64_t number =
            100'000'000 + (index * kIdentifierFactor + idSalt) % kIdentifierSpace;
        std::copy(type.prefix.begin(), type.prefix.end(), person.id_.begin());
        person.idLength_ = type.prefix.size() + 9;
        for (std::size_t i = person.idLength_; i > type.prefix.size(); --i) {
            person.id_[i - 1] = static_cast<char>('0' + number % 10);
            number /= 10;
        }
    }
    person.firstName_ = Pick(kFirstNames, random);
    person.lastName_ = Pick(kLastNames, random);
    person.middleInitial_ = random.chance(7000) ? static_cast<char>('A' + random.below(26)) : ' ';
    const int year = random.between(1950, 1999);
    const int month = random.between(1, 12);
    person.birthDate_ = MakeDateText(year, month, random.between(1, DaysInMonth(year, month)));
    person.sex_ = random.chance(200) ? 'U' : (random.chance(5000) ? 'F' : 'M');
    const Job& job = kJobs[random.below(kJobs.size())];
    person.facilityCode_ = job.facilityCode;
    person.occupation_ = job.occupation;
    return person;
}

}  // namespace talveron::bench
