// The interpretation texts shown when a Maha Dasha row is hovered and printed in
// the report, the two section introductions, and the short texts of the
// birth-details window and the about box. All of it is compiled in.
//
// A description is the concatenation of its passages with nothing in between,
// so every passage but the last of a description ends in a blank and the
// sentences read on naturally.

#include "core/display/interpretation_texts.h"

#include <cstddef>

#include "core/dasha/lords.h"

namespace orvanta {
namespace {

// Surya (Sun) Dasha, six years.
constexpr std::string_view kSunStrong =
    "Surya Dasha is well known for wealth, accession of valuable possessions such as gold "
    "and copper, favors from government and men in power, a rise in status, and the respect "
    "of elders. ";

constexpr std::string_view kSunHealth =
    "But care should be taken of health because under its heat the Sun stirs up pitta: "
    "fevers, headaches, trouble of the eyes, heart and bones, and bilious complaints are "
    "common when Surya is weak, debilitated in Libra, or afflicted by Saturn or Rahu. A weak "
    "Sun also brings friction with the father, superiors and officials, fear of punishment "
    "from the state, loss of position, wandering away from home and anxieties through wife "
    "and children. When the Sun is strong, exalted in Aries, in its own sign Leo or well "
    "placed in the tenth house, the native rises in authority, wins lawsuits and earns a "
    "name in public service, politics or medicine. ";

constexpr std::string_view kSunSigns =
    "If you are a Cancerian, then this dasha will bring money through speech, family and "
    "government, for the Sun rules your second house; guard your eyes and diet. Leos, whose "
    "Lagna lord rules the period, win recognition. For Arians the Sun rules the fifth, "
    "blessing children, intellect and speculation. Scorpios may rise in their career, the "
    "Sun ruling their tenth. Aquarians should take care of their marriage and partnerships, "
    "the Sun ruling their seventh house.";

// Chandra (Moon) Dasha, ten years.
constexpr std::string_view kMoonStrong =
    "You will be enjoying garlands, fame, honor, jewels, domestic happiness and the company "
    "of the learned when Chandra Dasha runs under a strong, waxing Moon. The mind is calm "
    "and creative, the mother is well, and the native earns through milk, pearls, liquids, "
    "travel by water, nursing and dealings with the public. Marriage or the birth of a child "
    "is common, clothes, vehicles and a comfortable house are acquired, and people in "
    "authority show their favor. A Moon exalted in Taurus or in its own sign Cancer gives "
    "the best of these results. ";

constexpr std::string_view kMoonWeak =
    "Whereas the dasha of the Moon goddess in its weak phase, when the Moon is waning, "
    "debilitated in Scorpio or afflicted by Saturn, Rahu or Ketu, brings restlessness of "
    "mind, depression, sleeplessness and fear. Colds, coughs, chest complaints and disorders "
    "of the blood may trouble the native, and the mother's health becomes a cause of worry. "
    "Money slips away through hasty decisions and quarrels arise with kin. Journeys prove "
    "fruitless and a change of residence may be forced. Natives of Cancer and Taurus fare "
    "well in this dasha, as do those of Pisces, for whom the Moon rules the fifth house of "
    "children. Sagittarians and Aquarians, for whom the Moon rules the eighth and sixth "
    "houses, should look after their health.";

// Kuja (Mars) Dasha, seven years.
constexpr std::string_view kMars =
    "Kuja Dasha is the effect of the planet Mars. Kuja, the son of the Earth, is the "
    "commander among the planets and governs courage, energy, land, brothers, fire and "
    "weapons. In a strong Kuja Dasha, with Mars exalted in Capricorn or in its own signs "
    "Aries and Scorpio, the native defeats enemies and rivals, acquires houses, land and "
    "property, gains through brothers, and prospers in the army, police, surgery, "
    "engineering, sports or metals. Authority comes through boldness and decisive action. In "
    "the ordinary phase effort is rewarded slowly, with some disputes over property and hot "
    "temper at home. When Mars is weak, debilitated in Cancer or badly afflicted, the native "
    "faces accidents, cuts, burns and operations, fevers, inflammations and blood disorders, "
    "danger from fire and thieves, litigation, quarrels with brothers and friction in "
    "marriage. For Cancerians and Leos Mars is the yogakaraka, ruling both a trine and an "
    "angle from their Lagna, so its period raises them to power and wealth.";

// Rahu Dasha, eighteen years.
constexpr std::string_view kRahuNature =
    "Unlike the other planets the planet Rahu is not visible in the sky; it is a shadowy "
    "point, the Moon's ascending node, where the Moon's path crosses the ecliptic northward. "
    "The Puranas tell how the demon Svarbhanu drank the nectar of immortality and was cut in "
    "two by Vishnu's discus; his head became Rahu, who swallows the Sun and Moon at "
    "eclipses. Rahu Dasha lasts eighteen years and acts like Saturn, giving the results of "
    "the lord of the sign it occupies and of the planets joining it. Well placed in Taurus, "
    "Gemini or Virgo, or in the third, sixth or eleventh house, it brings a sudden rise, "
    "political power, wealth from foreign lands and unconventional work, and success in "
    "technology or research. Weak or afflicted, it gives confusion, fear, deceit and "
    "scandal, trouble from poisons, snakes and thieves, obscure, lingering diseases, "
    "separation from family and a fall from position. Its results often come suddenly and "
    "leave as suddenly. ";

constexpr std::string_view kRahuSigns =
    "Under the Rahu Dasha, the Arians will be having auspicious results and gains from bold "
    "ventures and travel. Taureans and Librans, ruled by Venus, a friend of Rahu, prosper in "
    "business. Geminis and Virgos gain through learning and commerce. Cancerians and Leos "
    "must guard health and avoid speculation, and Scorpios may face hidden enemies.";

// Guru (Jupiter) Dasha, sixteen years.
constexpr std::string_view kJupiterPhases =
    "Under the strong phase of Guru Dasha, the native will gain wisdom, wealth and honor, "
    "and the favor of rulers and elders. Guru, the preceptor of the gods, rules knowledge, "
    "dharma, children and fortune, so this sixteen year period often brings marriage, the "
    "birth of children, higher studies, a respected post as a teacher, counselor, judge or "
    "priest, pilgrimages and charity. Jupiter exalted in Cancer or in its own signs "
    "Sagittarius and Pisces gives its full results. In the ordinary phase life is "
    "comfortable and dutiful. A weak Guru, debilitated in Capricorn or combust, brings loss "
    "of reputation, disputes with elders, worry over children, debts, and troubles of the "
    "liver, fat and sugar. ";

constexpr std::string_view kJupiterSigns =
    "In case of Cancers, political success, promotion, exalted position and wealth are "
    "promised, for Jupiter is exalted in their Lagna and rules their ninth house of fortune. "
    "Sagittarians and Pisceans, ruled by Jupiter itself, enjoy health, good name and growth. "
    "Scorpios gain children, wealth and eloquence, Jupiter ruling their second and fifth. "
    "Arians find fortune, higher learning and foreign travel. Taureans and Librans, for whom "
    "Jupiter rules difficult houses, should guard against debts, disputes and illness.";

// Sani (Saturn) Dasha, nineteen years.
constexpr std::string_view kSaturnPhases =
    "A powerful Sani Dasha will help you in various gains, chiefly from land, agriculture, "
    "mines, oil, iron and buildings, and in leading workers and the masses. Sani, the slow "
    "son of the Sun, rewards patience, discipline and honest labor, so a strong Saturn, "
    "exalted in Libra or in its own signs Capricorn and Aquarius, gives lasting position, "
    "property, long life, loyal servants and success in law, politics or industry. In the "
    "ordinary phase results come slowly after hard work and delays. A weak or afflicted "
    "Sani, debilitated in Aries or joined with Mars or Rahu, brings poverty, debts, losses, "
    "the illness of elders, separation, the dislike of superiors, and diseases of the wind "
    "humor: rheumatism, arthritis, paralysis, nervous complaints, troubles in the legs and "
    "teeth. Service of the poor and elderly is the traditional remedy. ";

constexpr std::string_view kSaturnSigns =
    "Arians will suffer from unexpected loss, disappointments in each undertaking and strain "
    "with superiors, Saturn being debilitated in their sign. Taureans and Librans, for whom "
    "Saturn is the yogakaraka, rise to power. Capricorns and Aquarians gain stability, while "
    "Cancerians and Leos must guard their marriage and health.";

// Budha (Mercury) Dasha, seventeen years.
constexpr std::string_view kMercury =
    "Under the strong phase of the Budha Dasha or the period of Mercury, the native shines "
    "through intellect, speech and skill. Budha, the prince of the planets, governs "
    "learning, writing, accounts, trading, mathematics, astrology and friends, so the period "
    "favors studies, authorship, journalism, teaching, banking, commerce and all work that "
    "calls for a keen mind. Income rises through business, agents and documents, new friends "
    "are made, and the native earns fame among the learned. Mercury exalted in Virgo or in "
    "its own sign Gemini gives the best results. Budha takes on the nature of the planets it "
    "joins, so its results depend on company. In the ordinary phase the native is busy with "
    "short journeys, letters and negotiations. A weak Budha, debilitated in Pisces, combust "
    "or afflicted, brings nervous strain, skin and speech troubles, losses in trade, forgery "
    "and disputes over documents, and quarrels with relatives. Geminis, Virgos, Taureans and "
    "Librans gain most from this period.";

// Ketu Dasha, seven years.
constexpr std::string_view kKetuNature =
    "As per the Hindu mythology, the descending lunar mode is Ketu, the headless trunk of "
    "the asura whose head became Rahu when Vishnu struck him down for stealing the nectar. "
    "Like Rahu, a shadow planet, Ketu grants detachment, spiritual insight, occult knowledge "
    "and liberation, or moksha. Its seven year dasha largely gives the results of the lord "
    "of the sign it occupies. In a strong Ketu Dasha the native turns to religion, yoga, "
    "meditation and pilgrimage, gains from hidden sources, succeeds in research, medicine, "
    "mathematics or astrology, and may win sudden renown. ";

constexpr std::string_view kKetuOrdinary =
    "Under the ordinary phase you may obtain wealth from superiors and respect from the "
    "learned, but the mind remains restless. ";

constexpr std::string_view kKetuMalefic =
    "Under its malefic effects, you will succumb to injuries and fevers, ailments that are "
    "hard to diagnose, fear and sorrow, loss of position and estrangement from relatives. "
    "Danger from weapons, animals, fire and poison is feared, and aimless wandering is "
    "common. ";

constexpr std::string_view kKetuSigns =
    "Under this dasa, the Arians will face several disgraceful situations, accidents and "
    "quarrels, and should curb haste. Scorpios, ruled by Mars whose nature Ketu shares, gain "
    "courage, research skills and victory over enemies. Sagittarians and Pisceans find "
    "spiritual progress. Taureans and Cancerians must guard health and family peace, and "
    "Geminis and Virgos should avoid speculation and rash signatures.";

// Sukra (Venus) Dasha, twenty years.
constexpr std::string_view kVenusStrong =
    "The native under a powerful Shukra dasha will be experiencing comfort, luxury, beauty "
    "and romance: marriage or a happy married life, fine clothes, perfume, jewels, vehicles "
    "and a pleasant home, and success in music, art, poetry and trade in luxury goods. ";

constexpr std::string_view kVenusPhases =
    "Monetary gains from trade and cultivation and increase of your cattle and lands mark "
    "the ordinary phase of the twenty year Shukra Dasha. Shukra, the preceptor of the asuras "
    "and master of the science of revival, rules the spouse, pleasure, vehicles and refined "
    "tastes, so a Venus exalted in Pisces or in its own signs Taurus and Libra makes this "
    "one of the most enjoyable periods of life, with a congenial partner, good friends and "
    "honor from rulers. Weak or afflicted, debilitated in Virgo or combust, Shukra gives "
    "trouble in marriage, scandals through the opposite sex, extravagance, loss of vehicles "
    "and ornaments, complaints of the kidneys, urinary and reproductive organs, and "
    "diabetes. Capricorns and Aquarians, for whom Venus is the yogakaraka, enjoy high rank "
    "and wealth, while Arians and Scorpios should look after their partnerships.";

// The introductions of the Vimshottari Dasha and Vedic details sections.
constexpr std::string_view kIntroVimshottari =
    "The Hindus take the exact position of the Moon at the moment of birth as the key to the "
    "timing of events in a life. The Vimshottari Dasha, taught by the sage Parashara, "
    "divides a cycle of 120 years among nine planets: Ketu 7 years, Venus 20, Sun 6, Moon "
    "10, Mars 7, Rahu 18, Jupiter 16, Saturn 19 and Mercury 17. The zodiac holds 27 "
    "Nakshatras of 13 degrees 20 minutes each, ruled in turn by these lords in the same "
    "order. The Nakshatra in which the Moon stands at birth gives the first Maha Dasha, and "
    "the part of that Nakshatra the Moon has still to cross gives the balance of the period "
    "left at birth. The periods then follow in a fixed order, and each is divided into nine "
    "sub-periods, or Antar Dashas.";

constexpr std::string_view kIntroVedicDetails =
    "This software displays the details pertaining to your input birth data in the Vedic "
    "way: the Julian day, the ayanamsa, your Lagna, or ascendant, the Nakshatra and Rashi of "
    "your Moon, and the Nakshatra lord whose dasha begins your life.";

// The birth-details window.
constexpr std::string_view kMainWindowDescription =
    "The Hindus take the exact position of the Moon in the sky at birth as the starting "
    "point of the Vimshottari Dasha, the system of planetary periods that divides a life "
    "into the ruling times of nine planets. Enter your name, the date and time of birth, the "
    "latitude and longitude of the birth place and its time zone, then press the button to "
    "see your periods and sub-periods, what each period means, and your Vedic birth details.";

constexpr std::size_t kLordCount = kLords;

// Index order of all three tables: Sun, Moon, Mars, Rahu, Jupiter, Saturn,
// Mercury, Ketu, Venus.
constexpr std::array<std::string_view, kLordCount> kDashaTitles = InDescriptionOrder(&Lord::indianTitle);

// The English row titles of the results window, in the same index order.
constexpr std::array<std::string_view, kLordCount> kEnglishTitles = InDescriptionOrder(&Lord::title);

using Passages = std::array<std::string_view, 4>;

constexpr std::array<Passages, kLordCount> kDescriptionPassages = {{
    {kSunStrong, kSunHealth, kSunSigns, {}},
    {kMoonStrong, kMoonWeak, {}, {}},
    {kMars, {}, {}, {}},
    {kRahuNature, kRahuSigns, {}, {}},
    {kJupiterPhases, kJupiterSigns, {}, {}},
    {kSaturnPhases, kSaturnSigns, {}, {}},
    {kMercury, {}, {}, {}},
    {kKetuNature, kKetuOrdinary, kKetuMalefic, kKetuSigns},
    {kVenusStrong, kVenusPhases, {}, {}},
}};

constexpr std::array<std::string_view, 2> kIntroTexts = {kIntroVimshottari, kIntroVedicDetails};

std::string JoinPassages(const Passages& passages) {
    std::size_t length = 0;
    for (std::string_view passage : passages) length += passage.size();
    std::string text;
    text.reserve(length);
    for (std::string_view passage : passages) text.append(passage);
    return text;
}

}  // namespace

InterpretationTexts LoadInterpretationTexts() {
    InterpretationTexts texts;
    for (std::size_t i = 0; i < kIntroTexts.size(); ++i) {
        texts.introTexts[i] = std::string(kIntroTexts[i]);
    }
    for (std::size_t i = 0; i < kLordCount; ++i) {
        texts.dashaTitles[i] = std::string(kDashaTitles[i]);
    }
    for (std::size_t i = 0; i < kLordCount; ++i) {
        texts.dashaDescriptions[i] = JoinPassages(kDescriptionPassages[i]);
    }
    return texts;
}

int DescriptionIndexOfTitle(std::string_view englishTitle) {
    for (std::size_t i = 0; i < kLordCount; ++i) {
        if (kEnglishTitles[i] == englishTitle) return static_cast<int>(i);
    }
    return -1;
}

std::array<std::string_view, 4> DescriptionPassages(int index) {
    if (index < 0 || index >= static_cast<int>(kLordCount)) return {};
    return kDescriptionPassages[static_cast<std::size_t>(index)];
}

std::string_view MainWindowDescription() { return kMainWindowDescription; }


}  // namespace orvanta
