#include "bench/load_generator.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "bench/dose_amounts.h"
#include "bench/fault.h"
#include "bench/intake_draw.h"
#include "bench/layout_slots.h"
#include "bench/monitoring_periods.h"
#include "bench/person.h"
#include "bench/random_stream.h"
#include "bench/record_writer.h"

namespace talveron::bench {

namespace {

constexpr std::uint32_t kIntakeShare = 1000;  // dose records with CEDE above zero, in 10,000
constexpr std::uint32_t kCommentShare = 300;  // dose records followed by a comment, in 10,000
constexpr std::uint32_t kOnePercent = 100;    // in 10,000
constexpr std::size_t kChunkSize = 1 << 20;   // bytes collected before a write to the stream

constexpr std::array<std::string_view, 6> kComments{
    "DOSIMETER LOST IN MARCH; DOSE FOR THE MONTH ASSIGNED FROM CO-WORKER DATA.",
    "VISITING SCIENTIST, IDENTIFIED BY PASSPORT NUMBER.",
    "EMPLOYMENT ENDED AT THE END OF THE PERIOD. TERMINATION REPORT SENT TO THE EMPLOYEE.",
    "INTAKE ASSESSED FROM URINE BIOASSAY; INCIDENT REPORT ON FILE WITH THE RSO.",
    "DOSE REVISED AFTER A REREAD OF THE DOSIMETER BY THE DOSIMETRY VENDOR.",
    "EXTREMITY RING DOSIMETER WORN ON THE LEFT HAND FROM THE SECOND QUARTER ON.",
};

/// A report type, mostly an original report.
std::string_view DrawReportType(RandomStream& random) {
    const std::uint32_t draw = random.below(100);
    if (draw < 95) return "ORG";
    if (draw < 97) return "AMD";
    return draw < 98 ? "COR" : "TRM";
}

std::string_view DrawExposureType(RandomStream& random) {
    constexpr std::array<std::string_view, 3> kRare{"PSE", "EMR", "ACC"};
    return random.chance(9900) ? "ROU" : kRare[random.below(kRare.size())];
}

std::string_view WithoutTrailingBlanks(std::string_view line) {
    const auto last = line.find_last_not_of(' ');
    return line.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

/// The text a long line carries after its last field: a blank, then digits and letters.
std::string LongLineTail() {
    constexpr std::string_view kPattern = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string tail(1, ' ');
    while (tail.size() < kLongLineExtra) tail.push_back(kPattern[tail.size() % kPattern.size()]);
    return tail;
}

class LoadFileWriter {
public:
    LoadFileWriter(const GeneratorConfiguration& configuration, const GeneratorSettings& settings,
                   std::ostream& out)
        : configuration_(configuration),
          settings_(settings),
          out_(out),
          slots_(LayoutSlots::Find(configuration.layouts)),
          random_(settings.seed),
          idSalt_(random_.next()),
          header_(configuration.layouts.of(RecordType::Header)),
          dose_(configuration.layouts.of(RecordType::Dose)),
          intake_(configuration.layouts.of(RecordType::Intake)),
          comment_(configuration.layouts.of(RecordType::Comment)),
          lineEnd_(settings.shape == Shape::LfOnly ? "\n" : "\r\n"),
          tail_(settings.shape == Shape::LongLines ? LongLineTail() : std::string()),
          remaining_(settings.records) {
        buffer_.reserve(kChunkSize + kLongLineExtra + 1024);
    }

    GeneratedFile run() {
        writeHeader();
        for (std::uint64_t index = 0; remaining_ > 0; ++index) writePerson(index);
        flush();
        return std::move(file_);
    }

private:
    void writeHeader() {
        const LayoutSlots::Header& slots = slots_.header;
        const std::uint32_t licensee = random_.below(90000) + 10000;
        const std::string license = "48-" + std::to_string(licensee) + "-01";
        header_.set(slots.licenseNumber, license);
        header_.set(slots.reportPeriod, std::string(View(MakeDateText(kReportYear, 1, 1))) + " - " +
                                            std::string(View(MakeDateText(kReportYear, 12, 31))));
        header_.set(slots.licenseeName, "MIDLAND REGIONAL MEDICAL CENTER");
        header_.set(slots.contactPerson, "MARGARET A. KOWALSKI");
        header_.set(slots.contactPhone, "(414) 555-0142");
        header_.set(slots.associatedLicense, "48-" + std::to_string(licensee) + "-02");
        finishRecord(RecordKind::Header, header_, {}, DoseAmounts{});
    }

    void writePerson(std::uint64_t index) {
        const Person person =
            Person::Make(index, idSalt_, settings_.shape == Shape::OnePerson, random_);
        const int count = random_.between(1, kMaxPeriodsPerPerson);
        for (const MonitoringPeriod& period :
             PlanMonitoringPeriods(kReportYear, count, random_, plan_)) {
            if (remaining_ == 0) return;
            writeDoseGroup(person, period);
        }
    }

    /// A dose record with its intakes and perhaps a comment, within the records still to write.
    void writeDoseGroup(const Person& person, const MonitoringPeriod& period) {
        const bool others = settings_.shape != Shape::OnePerson;
        std::int64_t intakes = 0;
        if (others && random_.chance(kIntakeShare)) {
            intakes = std::min<std::int64_t>(random_.between(1, 3), remaining_ - 1);
        }
        const bool comment = others && remaining_ > 1 + intakes && random_.chance(kCommentShare);
        const DoseAmounts doses = DrawDoseAmounts(random_, intakes > 0);
        const FaultFacts facts{person.idType() == "SSN" && !person.employeeId().empty(),
                               intakes > 0};

        writeDose(person, period, doses);
        finishRecord(RecordKind::Dose, dose_, facts, doses);
        ++file_.doseRecords;
        for (std::int64_t i = 0; i < intakes; ++i) {
            writeIntake(person, period);
            finishRecord(RecordKind::Intake, intake_, facts, doses);
            ++file_.intakeRecords;
        }
        if (comment) {
            writeIdentity(comment_, slots_.comment.identity, person, period, "C");
            comment_.set(slots_.comment.comment, kComments[random_.below(kComments.size())]);
            finishRecord(RecordKind::Comment, comment_, facts, doses);
            ++file_.commentRecords;
        }
    }

    void writeIdentity(RecordWriter& record, const LayoutSlots::Identity& slots,
                       const Person& person, const MonitoringPeriod& period,
                       std::string_view recordType) {
        record.clear();
        record.set(slots.employeeId, person.employeeId());
        record.set(slots.idType, person.idType());
        record.set(slots.monitoringStart, View(period.start));
        record.set(slots.monitoringEnd, View(period.end));
        record.set(slots.recordType, recordType);
    }

    void writeDose(const Person& person, const MonitoringPeriod& period, const DoseAmounts& doses) {
        const LayoutSlots::Dose& slots = slots_.dose;
        writeIdentity(dose_, slots.identity, person, period, "D");
        dose_.set(slots.firstName, person.firstName());
        dose_.set(slots.lastName, person.lastName());
        dose_.set(slots.middleInitial, person.middleInitial());
        dose_.set(slots.birthDate, person.birthDate());
        dose_.set(slots.sex, person.sex());
        dose_.set(slots.reportType, DrawReportType(random_));
        dose_.set(slots.exposureType, DrawExposureType(random_));
        const DoseTexts texts = doseTexts_.write(doses);
        dose_.set(slots.cede, texts.cede);
        dose_.set(slots.cde, texts.cde);
        dose_.set(slots.tode, texts.tode);
        dose_.set(slots.dde, texts.dde);
        dose_.set(slots.tede, texts.tede);
        dose_.set(slots.lde, texts.lde);
        dose_.set(slots.sdeWb, texts.sdeWb);
        dose_.set(slots.sdeMe, texts.sdeMe);
        dose_.set(slots.facilityCode, person.facilityCode());
        dose_.set(slots.occupation, person.occupation());
    }

    void writeIntake(const Person& person, const MonitoringPeriod& period) {
        const LayoutSlots::Intake& slots = slots_.intake;
        const IntakeDraw intake = DrawIntake(configuration_.radionuclides, random_);
        writeIdentity(intake_, slots.identity, person, period, "I");
        intake_.set(slots.radionuclide, intake.radionuclide);
        intake_.set(slots.intakeClass, std::string_view(&intake.intakeClass, 1));
        intake_.set(slots.mode, std::string_view(&intake.mode, 1));
        intake_.set(slots.intake, std::string_view(intake.amount.data(), intake.amount.size()));
    }

    bool faultHere() {
        switch (settings_.faults) {
            case FaultShare::None:
                return false;
            case FaultShare::OnePercent:
                return random_.chance(kOnePercent);
            case FaultShare::All:
                return true;
        }
        return false;
    }

    /// Works a fault into the record when its turn comes, then writes it out.
    void finishRecord(RecordKind kind, RecordWriter& record, const FaultFacts& facts,
                      const DoseAmounts& doses) {
        std::string_view line = record.line();
        if (faultHere()) {
            const Fault fault = DrawFault(kind, facts, random_);
            if (ApplyFault(fault, kind, slots_, doses, record)) line = WithoutTrailingBlanks(line);
            file_.faults.push_back({file_.lines + 1, fault});
        }
        if (kind != RecordKind::Header) --remaining_;
        emit(line);
    }

    void emit(std::string_view line) {
        const std::size_t before = buffer_.size();
        buffer_.append(line).append(tail_).append(lineEnd_);
        ++file_.lines;
        file_.bytes += static_cast<std::int64_t>(buffer_.size() - before);
        if (buffer_.size() >= kChunkSize) flush();
    }

    void flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

    const GeneratorConfiguration& configuration_;
    const GeneratorSettings& settings_;
    std::ostream& out_;
    LayoutSlots slots_;
    RandomStream random_;
    std::uint64_t idSalt_;
    RecordWriter header_;
    RecordWriter dose_;
    RecordWriter intake_;
    RecordWriter comment_;
    std::string_view lineEnd_;
    std::string tail_;
    std::int64_t remaining_;
    PeriodPlan plan_{};
    DoseTextSet doseTexts_;
    std::string buffer_;
    GeneratedFile file_;
};

}  // namespace

GeneratorConfiguration GeneratorConfiguration::Load(const IniDocument& configuration) {
    GeneratorConfiguration loaded;
    loaded.layouts = LoadRecordLayouts(configuration);
    const RecordLayout& intake = loaded.layouts.of(RecordType::Intake);
    const FieldDef* nuclide = intake.field(FindField(intake, "Radionuclide"));
    const std::size_t width =
        nuclide && nuclide->len > 0 ? static_cast<std::size_t>(nuclide->len) : 0;
    loaded.radionuclides = RadionuclideChoices(configuration, width);
    return loaded;
}

bool GeneratorConfiguration::usable() const { return layouts.usable() && !radionuclides.empty(); }

GeneratedFile WriteLoadFile(const GeneratorConfiguration& configuration,
                            const GeneratorSettings& settings, std::ostream& out) {
    return LoadFileWriter(configuration, settings, out).run();
}

}  // namespace talveron::bench
