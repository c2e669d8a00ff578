#include "bench/dbgen.h"

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace talik {
namespace {

struct Surname
{
    std::string_view kanji;
    std::string_view reading; // half-width katakana; its first character files the group
    std::string_view romaji;
};

// Two family names for each kana group 0..43 (ｱ to ﾜ), in group order.
constexpr std::array<std::array<Surname, 2>, OtherGroup> Surnames{{
    {{{"青木", "ｱｵｷ", "aoki"}, {"安藤", "ｱﾝﾄﾞｳ", "ando"}}},
    {{{"伊藤", "ｲﾄｳ", "ito"}, {"井上", "ｲﾉｳｴ", "inoue"}}},
    {{{"上田", "ｳｴﾀﾞ", "ueda"}, {"内田", "ｳﾁﾀﾞ", "uchida"}}},
    {{{"遠藤", "ｴﾝﾄﾞｳ", "endo"}, {"江口", "ｴｸﾞﾁ", "eguchi"}}},
    {{{"小川", "ｵｶﾞﾜ", "ogawa"}, {"岡田", "ｵｶﾀﾞ", "okada"}}},
    {{{"加藤", "ｶﾄｳ", "kato"}, {"金子", "ｶﾈｺ", "kaneko"}}},
    {{{"木村", "ｷﾑﾗ", "kimura"}, {"菊地", "ｷｸﾁ", "kikuchi"}}},
    {{{"工藤", "ｸﾄﾞｳ", "kudo"}, {"久保", "ｸﾎﾞ", "kubo"}}},
    {{{"剣持", "ｹﾝﾓﾁ", "kenmochi"}, {"検見川", "ｹﾐｶﾞﾜ", "kemigawa"}}},
    {{{"小林", "ｺﾊﾞﾔｼ", "kobayashi"}, {"近藤", "ｺﾝﾄﾞｳ", "kondo"}}},
    {{{"佐藤", "ｻﾄｳ", "sato"}, {"佐々木", "ｻｻｷ", "sasaki"}}},
    {{{"清水", "ｼﾐｽﾞ", "shimizu"}, {"柴田", "ｼﾊﾞﾀ", "shibata"}}},
    {{{"鈴木", "ｽｽﾞｷ", "suzuki"}, {"杉山", "ｽｷﾞﾔﾏ", "sugiyama"}}},
    {{{"関", "ｾｷ", "seki"}, {"瀬戸", "ｾﾄ", "seto"}}},
    {{{"相馬", "ｿｳﾏ", "soma"}, {"園田", "ｿﾉﾀﾞ", "sonoda"}}},
    {{{"田中", "ﾀﾅｶ", "tanaka"}, {"高橋", "ﾀｶﾊｼ", "takahashi"}}},
    {{{"千葉", "ﾁﾊﾞ", "chiba"}, {"茅野", "ﾁﾉ", "chino"}}},
    {{{"土屋", "ﾂﾁﾔ", "tsuchiya"}, {"辻", "ﾂｼﾞ", "tsuji"}}},
    {{{"寺田", "ﾃﾗﾀﾞ", "terada"}, {"手塚", "ﾃﾂﾞｶ", "tezuka"}}},
    {{{"戸田", "ﾄﾀﾞ", "toda"}, {"徳永", "ﾄｸﾅｶﾞ", "tokunaga"}}},
    {{{"中村", "ﾅｶﾑﾗ", "nakamura"}, {"永井", "ﾅｶﾞｲ", "nagai"}}},
    {{{"西村", "ﾆｼﾑﾗ", "nishimura"}, {"丹羽", "ﾆﾜ", "niwa"}}},
    {{{"沼田", "ﾇﾏﾀ", "numata"}, {"布川", "ﾇﾉｶﾜ", "nunokawa"}}},
    {{{"根本", "ﾈﾓﾄ", "nemoto"}, {"根岸", "ﾈｷﾞｼ", "negishi"}}},
    {{{"野村", "ﾉﾑﾗ", "nomura"}, {"野口", "ﾉｸﾞﾁ", "noguchi"}}},
    {{{"橋本", "ﾊｼﾓﾄ", "hashimoto"}, {"林", "ﾊﾔｼ", "hayashi"}}},
    {{{"平野", "ﾋﾗﾉ", "hirano"}, {"樋口", "ﾋｸﾞﾁ", "higuchi"}}},
    {{{"藤田", "ﾌｼﾞﾀ", "fujita"}, {"福田", "ﾌｸﾀﾞ", "fukuda"}}},
    {{{"逸見", "ﾍﾝﾐ", "henmi"}, {"平群", "ﾍｸﾞﾘ", "heguri"}}},
    {{{"本田", "ﾎﾝﾀﾞ", "honda"}, {"星野", "ﾎｼﾉ", "hoshino"}}},
    {{{"松本", "ﾏﾂﾓﾄ", "matsumoto"}, {"前田", "ﾏｴﾀﾞ", "maeda"}}},
    {{{"宮本", "ﾐﾔﾓﾄ", "miyamoto"}, {"三浦", "ﾐｳﾗ", "miura"}}},
    {{{"村上", "ﾑﾗｶﾐ", "murakami"}, {"武藤", "ﾑﾄｳ", "muto"}}},
    {{{"目黒", "ﾒｸﾞﾛ", "meguro"}, {"米良", "ﾒﾗ", "mera"}}},
    {{{"森", "ﾓﾘ", "mori"}, {"望月", "ﾓﾁﾂﾞｷ", "mochizuki"}}},
    {{{"山田", "ﾔﾏﾀﾞ", "yamada"}, {"山本", "ﾔﾏﾓﾄ", "yamamoto"}}},
    {{{"湯川", "ﾕｶﾜ", "yukawa"}, {"結城", "ﾕｳｷ", "yuki"}}},
    {{{"吉田", "ﾖｼﾀﾞ", "yoshida"}, {"横山", "ﾖｺﾔﾏ", "yokoyama"}}},
    {{{"頼", "ﾗｲ", "rai"}, {"良知", "ﾗﾁ", "rachi"}}},
    {{{"李", "ﾘ", "ri"}, {"力石", "ﾘｷｲｼ", "rikiishi"}}},
    {{{"留場", "ﾙﾊﾞ", "ruba"}, {"類家", "ﾙｲｹ", "ruike"}}},
    {{{"冷泉", "ﾚｲｾﾞｲ", "reizei"}, {"蓮", "ﾚﾝ", "ren"}}},
    {{{"六角", "ﾛｯｶｸ", "rokkaku"}, {"呂", "ﾛ", "ro"}}},
    {{{"渡辺", "ﾜﾀﾅﾍﾞ", "watanabe"}, {"和田", "ﾜﾀﾞ", "wada"}}},
}};

struct GivenName
{
    std::string_view kanji;
    std::string_view reading;
    std::string_view romaji;
};

constexpr std::array<GivenName, 16> GivenNames{{
    {"太郎", "ﾀﾛｳ", "taro"},
    {"花子", "ﾊﾅｺ", "hanako"},
    {"健一", "ｹﾝｲﾁ", "kenichi"},
    {"裕子", "ﾕｳｺ", "yuko"},
    {"大輔", "ﾀﾞｲｽｹ", "daisuke"},
    {"美咲", "ﾐｻｷ", "misaki"},
    {"翔太", "ｼｮｳﾀ", "shota"},
    {"陽子", "ﾖｳｺ", "yoko"},
    {"誠", "ﾏｺﾄ", "makoto"},
    {"恵子", "ｹｲｺ", "keiko"},
    {"直樹", "ﾅｵｷ", "naoki"},
    {"由美", "ﾕﾐ", "yumi"},
    {"修", "ｵｻﾑ", "osamu"},
    {"明美", "ｱｹﾐ", "akemi"},
    {"浩二", "ｺｳｼﾞ", "koji"},
    {"智子", "ﾄﾓｺ", "tomoko"},
}};

// Readings that begin with a Latin letter or a digit fall into the last group: organisations.
struct Organisation
{
    std::string_view name;
    std::string_view reading;
    std::string_view mailDomain;
};

constexpr std::array<Organisation, 3> Organisations{{
    {"ＡＢＣ商事株式会社", "ABC ｼｮｳｼﾞ", "abc-shoji.example.co.jp"},
    {"ＸＹＺ建設", "XYZ ｹﾝｾﾂ", "xyz-kensetsu.example.co.jp"},
    {"１２３不動産", "123 ﾌﾄﾞｳｻﾝ", "123-fudosan.example.jp"},
}};

struct Town
{
    std::string_view postCode;
    std::string_view address;
    std::string_view areaCode;
};

constexpr std::array<Town, 12> Towns{{
    {"154-0015", "東京都世田谷区桜新町", "03"},
    {"160-0022", "東京都新宿区新宿", "03"},
    {"220-0012", "神奈川県横浜市西区みなとみらい", "045"},
    {"330-0063", "埼玉県さいたま市浦和区高砂", "048"},
    {"260-0013", "千葉県千葉市中央区中央", "043"},
    {"460-0008", "愛知県名古屋市中区栄", "052"},
    {"530-0001", "大阪府大阪市北区梅田", "06"},
    {"600-8216", "京都府京都市下京区東塩小路町", "075"},
    {"650-0021", "兵庫県神戸市中央区三宮町", "078"},
    {"812-0011", "福岡県福岡市博多区博多駅前", "092"},
    {"060-0001", "北海道札幌市中央区北一条西", "011"},
    {"980-0021", "宮城県仙台市青葉区中央", "022"},
}};

struct Workplace
{
    std::string_view company;
    std::string_view department;
};

constexpr std::array<Workplace, 6> Workplaces{{
    {"株式会社山川商事", "営業部"},
    {"東和電機株式会社", "技術開発部"},
    {"北斗建設株式会社", "総務部"},
    {"中央信用金庫", "融資課"},
    {"さくら総合病院", "内科"},
    {"市立第一小学校", "教務課"},
}};

constexpr std::array<std::string_view, 6> RemarkTexts{"大学の同期", "取引先",     "町内会",
                                                      "親戚",       "年賀状のみ", "旧姓：山本"};
constexpr std::array<std::string_view, 5> ClassCodes{"友人", "仕事", "親戚", "近所", "A01"};
constexpr std::array<std::string_view, 3> MailDomains{"example.jp", "example.ne.jp", "mail.example.com"};
constexpr std::array<std::string_view, 3> ExtraNotes{"前回訪問：5月\r\n子供：2人", "贈答品：毎年お歳暮\r\n好物：羊羹",
                                                     "引越し予定あり（秋）"};
constexpr std::array<std::string_view, 5> CheckItemCaptions{"年賀状送付", "年賀状受取", "喪中", "暑中見舞", "お歳暮"};

// Phone slots Tel1, Fax1, Tel2, Fax2 as telephone, fax, mobile, fax.
constexpr std::int16_t UsualPhoneKinds = 131;

std::string FullWidthDigits(std::string_view ascii)
{
    constexpr std::array<std::string_view, 10> wide{"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string out;
    for (char c : ascii) {
        out += (c >= '0' && c <= '9') ? wide[static_cast<std::size_t>(c - '0')] : std::string_view("－");
    }
    return out;
}

} // namespace

std::string AddressGenerator::digits(int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += static_cast<char>('0' + pick(10));
    }
    return out;
}

std::string AddressGenerator::streetAddress()
{
    const std::string block =
        std::to_string(1 + pick(9)) + "-" + std::to_string(1 + pick(30)) + "-" + std::to_string(1 + pick(20));
    std::string address = FullWidthDigits(block);
    if (chance(20)) {
        address += "　グランハイツ" + FullWidthDigits(std::to_string(101 + pick(8) * 100 + pick(6))) + "号";
    }
    return address;
}

std::string AddressGenerator::telephone(const std::string& areaCode)
{
    // Ten digits in all: a two-digit area code leaves four for the exchange, a longer one three.
    return areaCode + "-" + digits(areaCode.size() == 2 ? 4 : 3) + "-" + digits(4);
}

int AddressGenerator::next(AddressRecord& rec, ExtraRecord& extra)
{
    std::memset(&rec, ' ', sizeof rec);
    std::memset(&extra, ' ', sizeof extra);

    const int group = static_cast<int>(pick(GroupTotal));
    const Town& home = Towns[pick(Towns.size())];
    std::string mailUser;
    std::string mailDomain(MailDomains[pick(MailDomains.size())]);
    if (group == OtherGroup) {
        const Organisation& org = Organisations[pick(Organisations.size())];
        SetText(rec.KanaName, org.reading);
        SetText(rec.KanjiName, org.name);
        SetText(rec.Honorific, "御中");
        mailUser = "info";
        mailDomain = org.mailDomain;
    } else {
        const Surname& family = Surnames[static_cast<std::size_t>(group)][pick(2)];
        const GivenName& given = GivenNames[pick(GivenNames.size())];
        SetText(rec.KanaName, std::string(family.reading) + " " + std::string(given.reading));
        SetText(rec.KanjiName, std::string(family.kanji) + "　" + std::string(given.kanji));
        SetText(rec.Honorific, chance(95) ? "様" : "先生");
        mailUser = std::string(given.romaji) + "." + std::string(family.romaji) + std::to_string(pick(100));
    }
    if (chance(70)) {
        SetText(rec.EMail, mailUser + "@" + mailDomain);
    }
    SetText(rec.PostCode1, home.postCode);
    SetText(rec.Address1, std::string(home.address) + streetAddress());
    SetText(rec.Tel1, telephone(std::string(home.areaCode)));
    if (chance(15)) {
        SetText(rec.Fax1, telephone(std::string(home.areaCode)));
    }
    if (chance(60)) {
        SetText(rec.Tel2, (chance(50) ? "090-" : "080-") + digits(4) + "-" + digits(4));
    }
    if (chance(35)) {
        const Workplace& work = Workplaces[pick(Workplaces.size())];
        const Town& office = Towns[pick(Towns.size())];
        SetText(rec.Company, work.company);
        SetText(rec.Department, work.department);
        SetText(rec.PostCode2, office.postCode);
        SetText(rec.Address2, std::string(office.address) + streetAddress());
        SetText(rec.Fax2, telephone(std::string(office.areaCode)));
    }
    const bool knowsBirthday = chance(60);
    SetLong(rec.Birthday,
            knowsBirthday ? static_cast<std::int32_t>((1930 + pick(80)) * 10000 + (1 + pick(12)) * 100 + (1 + pick(28)))
                          : 0);
    SetInteger(rec.PrintOptions, chance(10) ? 10100 : 0);
    if (chance(25)) {
        SetText(rec.Remarks, RemarkTexts[pick(RemarkTexts.size())]);
    }
    for (char& item : rec.CheckItems) {
        item = chance(20) ? '1' : ' ';
    }
    SetText(rec.ClassCode, ClassCodes[pick(ClassCodes.size())]);
    SetInteger(rec.PhoneKinds, UsualPhoneKinds);
    SetText(rec.SenderChoice, chance(90) ? "0" : "1");

    if (chance(15)) {
        SetText(extra.RemarksExtra, ExtraNotes[pick(ExtraNotes.size())]);
    }
    if (chance(5)) {
        SetText(extra.RelatedInfo, "~/写真/" + mailUser + ".jpg");
    }
    return group;
}

namespace {

MainHeader MakeMainHeader(std::int32_t lastRecNo)
{
    MainHeader header;
    std::memset(&header, ' ', sizeof header);
    std::memcpy(header.Signature, CurrentSignature.data(), sizeof header.Signature);
    SetLong(header.LastRecNo, lastRecNo);
    SetLong(header.OldCount, CurrentOldCount);
    header.HeaderFlags[0] = '0';
    for (std::size_t i = 0; i < CheckItemCaptions.size(); ++i) {
        SetText(header.CheckItemNames[i], CheckItemCaptions[i]);
    }
    header.PasswordField[0] = '\0'; // no password: two NUL bytes, then blanks
    header.PasswordField[1] = '\0';
    return header;
}

ExtraHeader MakeExtraHeader(std::int32_t lastRecNo)
{
    ExtraHeader header;
    std::memset(&header, ' ', sizeof header);
    SetLong(header.LastRecNo, lastRecNo);
    return header;
}

// The stored form of a deletion: the deleted mark, then the old reading cut to the field.
void MarkRecordDeleted(AddressRecord& rec)
{
    std::memmove(rec.KanaName + 1, rec.KanaName, sizeof rec.KanaName - 1);
    rec.KanaName[0] = static_cast<char>(DeletedMark);
}

std::ofstream OpenForWriting(const std::string& path)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw std::runtime_error("cannot create " + path);
    }
    return file;
}

template <class T> void WriteRecord(std::ofstream& file, const T& rec)
{
    file.write(reinterpret_cast<const char*>(&rec), sizeof rec);
}

void Finish(std::ofstream& file, const std::string& path)
{
    file.close();
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace

GeneratedDatabase
GenerateDatabase(const std::string& dataPath, int dbNo, int records, unsigned seed, double deletedShare)
{
    const std::string mainPath = MainFileName(dataPath, dbNo);
    const std::string extraPath = ExtraFileName(dataPath, dbNo);
    std::ofstream mainFile = OpenForWriting(mainPath);
    std::ofstream extraFile = OpenForWriting(extraPath);

    GeneratedDatabase made;
    made.lastRecNo = records + 1;
    WriteRecord(mainFile, MakeMainHeader(made.lastRecNo));
    WriteRecord(extraFile, MakeExtraHeader(made.lastRecNo));

    AddressGenerator people(seed);
    std::mt19937 deletions(seed ^ 0x5EEDu);
    std::bernoulli_distribution deleted(deletedShare);
    AddressRecord rec;
    ExtraRecord extra;
    for (int i = 0; i < records; ++i) {
        const int group = people.next(rec, extra);
        if (deleted(deletions)) {
            MarkRecordDeleted(rec);
            ++made.deletedCount;
        } else {
            ++made.groupCounts[static_cast<std::size_t>(group)];
            ++made.liveCount;
        }
        WriteRecord(mainFile, rec);
        WriteRecord(extraFile, extra);
    }
    Finish(mainFile, mainPath);
    Finish(extraFile, extraPath);
    return made;
}

} // namespace talik
