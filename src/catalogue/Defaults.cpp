// The built-in default catalogue, used when there is no settings file yet: the Tessaly Collection with
// every program in its standard install folder. Each SetDefault... procedure fills one field of slots 0 to
// 28; slots 29 to 50, which only a settings file can fill, keep what they hold.
#include "catalogue/Defaults.h"
#include "catalogue/Misc.h"
#include "catalogue/Scanners.h"
#include "catalogue/Settings.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace catalogue {

namespace {

struct DefaultProgram {
    std::u16string_view name;
    std::u16string_view path;      // without the drive; a web address for the online help
    std::u16string_view bitmap;    // file name in the launcher's data folder
    std::u16string_view videoPath; // without the drive; empty when the program has no help-video player
    std::u16string_view desc;
};

// Ids 0 to 27 are the programs in alphabetical order of name; id 28 is the help-video page. The descriptions are read
// out to pupils aged 5 to 11, so they stay short and plain.
constexpr std::array<DefaultProgram, kDefaultCount> kDefaultPrograms{{
    {u"Animal Habitats", u"\\Program Files\\Tessaly\\Animal Habitats\\habitats.exe", u"habitats.bmp",
     u"\\Program Files\\Tessaly\\Animal Habitats\\Videos\\habitatsvid.exe",
     u"Match animals to the places where they live, from deserts to oceans. "
     u"Find out what each habitat gives its animals."},
    {u"Bridge Builder", u"\\Program Files\\Tessaly\\Bridge Builder\\bridges.exe", u"bridges.bmp",
     u"\\Program Files\\Tessaly\\Bridge Builder\\Videos\\bridgesvid.exe",
     u"Build bridges from beams and cables and test them with heavier and heavier loads. "
     u"Practises measuring, shapes and simple forces."},
    {u"Clock Tower", u"\\Program Files\\Tessaly\\Clock Tower\\clock.exe", u"clock.bmp",
     u"\\Program Files\\Tessaly\\Clock Tower\\Videos\\clockvid.exe",
     u"Read the time on analogue and digital clocks and set the hands yourself. "
     u"Practises hours, half hours, quarter hours and minutes."},
    {u"Coin Counter", u"\\Program Files\\Tessaly\\Coin Counter\\coins.exe", u"coins.bmp",
     u"\\Program Files\\Tessaly\\Coin Counter\\Videos\\coinsvid.exe",
     u"Count coins, pay for the shopping and work out the change. "
     u"Practises adding money and choosing the fewest coins."},
    {u"Colour Mixer", u"\\Program Files\\Tessaly\\Colour Mixer\\colour.exe", u"colour.bmp",
     u"\\Program Files\\Tessaly\\Colour Mixer\\Videos\\colourvid.exe",
     u"Mix paints to make new colours and use them in your own pictures. "
     u"Learn the primary and secondary colours."},
    {u"Crossword Maker", u"\\Program Files\\Tessaly\\Crossword Maker\\crossword.exe", u"crossword.bmp",
     u"\\Program Files\\Tessaly\\Crossword Maker\\Videos\\crosswordvid.exe",
     u"Make crosswords from your spelling list and solve the puzzles your teacher makes. "
     u"Practises spelling and writing clues."},
    {u"Dinosaur Dig", u"\\Program Files\\Tessaly\\Dinosaur Dig\\dinodig.exe", u"dinodig.bmp",
     u"\\Program Files\\Tessaly\\Dinosaur Dig\\Videos\\dinodigvid.exe",
     u"Dig up fossils, put dinosaur skeletons back together and find out how dinosaurs lived. "
     u"Practises reading for facts and sorting them."},
    {u"Fraction Pizza", u"\\Program Files\\Tessaly\\Fraction Pizza\\pizza.exe", u"pizza.bmp", u"",
     u"Cut pizzas into equal slices and share them out fairly. "
     u"Practises halves, quarters, thirds and comparing fractions."},
    {u"Grammar Garden", u"\\Program Files\\Tessaly\\Grammar Garden\\grammar.exe", u"grammar.bmp",
     u"\\Program Files\\Tessaly\\Grammar Garden\\Videos\\grammarvid.exe",
     u"Grow a garden by sorting nouns, verbs and adjectives and mending broken sentences. "
     u"Practises capital letters, full stops and joining words."},
    {u"Handwriting Helper", u"\\Program Files\\Tessaly\\Handwriting Helper\\handwrite.exe", u"handwrite.bmp",
     u"\\Program Files\\Tessaly\\Handwriting Helper\\Videos\\handwritevid.exe",
     u"Trace and copy letters, then join them up. Practises letter shapes and neat joined handwriting."},
    {u"Island Explorer", u"\\Program Files\\Tessaly\\Island Explorer\\island.exe", u"island.bmp",
     u"\\Program Files\\Tessaly\\Island Explorer\\Videos\\islandvid.exe",
     u"Sail around an island and use compass directions to find the hidden treasure. "
     u"Practises north, south, east and west."},
    {u"Map Skills", u"\\Program Files\\Tessaly\\Map Skills\\mapskills.exe", u"mapskills.bmp",
     u"\\Program Files\\Tessaly\\Map Skills\\Videos\\mapskillsvid.exe",
     u"Read symbols, keys and grid references on maps of towns and the countryside. "
     u"Practises finding places and following a route."},
    {u"Music Maker", u"\\Program Files\\Tessaly\\Music Maker\\music.exe", u"music.bmp", u"",
     u"Compose tunes with notes and drum beats and play them back. Practises rhythm, pitch and listening."},
    {u"Number Bonds", u"\\Program Files\\Tessaly\\Number Bonds\\bonds.exe", u"bonds.bmp",
     u"\\Program Files\\Tessaly\\Number Bonds\\Videos\\bondsvid.exe",
     u"Find pairs of numbers that make 10, 20 and 100. Practises quick adding and taking away."},
    {u"Phonics Fair", u"\\Program Files\\Tessaly\\Phonics Fair\\phonics.exe", u"phonics.bmp",
     u"\\Program Files\\Tessaly\\Phonics Fair\\Videos\\phonicsvid.exe",
     u"Win prizes at the fair by matching letters to their sounds and blending them into words. "
     u"Practises phonics for early readers."},
    {u"Planet Quest", u"\\Program Files\\Tessaly\\Planet Quest\\planets.exe", u"planets.bmp", u"",
     u"Fly a rocket around the solar system and land on every planet. "
     u"Learn the order of the planets and a fact about each one."},
    {u"Poetry Studio", u"\\Program Files\\Tessaly\\Poetry Studio\\poetry.exe", u"poetry.bmp",
     u"\\Program Files\\Tessaly\\Poetry Studio\\Videos\\poetryvid.exe",
     u"Write your own poems with rhyming words and word banks. "
     u"Practises rhyme, rhythm and choosing interesting words."},
    {u"Rainforest Rescue", u"\\Program Files\\Tessaly\\Rainforest Rescue\\rainforest.exe", u"rainforest.bmp",
     u"\\Program Files\\Tessaly\\Rainforest Rescue\\Videos\\rainforestvid.exe",
     u"Help the rainforest animals by answering questions about plants, food chains and the water cycle. "
     u"Practises science facts and reading for information."},
    {u"Shape Shifter", u"\\Program Files\\Tessaly\\Shape Shifter\\shapes.exe", u"shapes.bmp", u"",
     u"Turn, flip and sort flat and solid shapes. Practises naming shapes and counting sides, corners and faces."},
    {u"Spelling Bee", u"\\Program Files\\Tessaly\\Spelling Bee\\spelling.exe", u"spelling.bmp", u"",
     u"Listen to a word, spell it and try to beat your best score. "
     u"Practises the spelling lists for each year group."},
    {u"Story Builder", u"\\Program Files\\Tessaly\\Story Builder\\story.exe", u"story.bmp",
     u"\\Program Files\\Tessaly\\Story Builder\\Videos\\storyvid.exe",
     u"Choose characters, places and events to plan a story with a beginning, a middle and an end. "
     u"Practises planning and writing stories."},
    {u"Symmetry Studio", u"\\Program Files\\Tessaly\\Symmetry Studio\\symmetry.exe", u"symmetry.bmp", u"",
     u"Draw the other half of patterns and pictures along a mirror line. "
     u"Practises lines of symmetry and reflection."},
    {u"Table Trainer", u"\\Program Files\\Tessaly\\Table Trainer\\tables.exe", u"tables.bmp",
     u"\\Program Files\\Tessaly\\Table Trainer\\Videos\\tablesvid.exe",
     u"Answer multiplication and division questions against the clock. Practises the times tables up to 12."},
    {u"Time Traveller", u"\\Program Files\\Tessaly\\Time Traveller\\timetravel.exe", u"timetravel.bmp",
     u"\\Program Files\\Tessaly\\Time Traveller\\Videos\\timetravelvid.exe",
     u"Travel back in time to meet people from the past and put events in order on a timeline. "
     u"Practises history and the order of events."},
    {u"Typing Trail", u"\\Program Files\\Tessaly\\Typing Trail\\typing.exe", u"typing.bmp",
     u"\\Program Files\\Tessaly\\Typing Trail\\Videos\\typingvid.exe",
     u"Follow the trail by typing letters, words and then whole sentences. "
     u"Practises using the keyboard with both hands."},
    {u"Weather Watch", u"\\Program Files\\Tessaly\\Weather Watch\\weather.exe", u"weather.bmp", u"",
     u"Record the weather every day, read a thermometer and draw weather charts. "
     u"Practises measuring and reading graphs."},
    {u"Word Search", u"\\Program Files\\Tessaly\\Word Search\\wordsearch.exe", u"wordsearch.bmp", u"",
     u"Find words hidden in grids of letters and make puzzles for your friends. "
     u"Practises spotting spelling patterns."},
    {u"Zoo Keeper", u"\\Program Files\\Tessaly\\Zoo Keeper\\zookeeper.exe", u"zookeeper.bmp", u"",
     u"Run a zoo by feeding the animals, buying their food and keeping to a budget. "
     u"Practises money, weighing and reading timetables."},
    {u"Help Videos Online", u"http://www.example.com/tessaly/helpvideos.htm", u"helpvideos.bmp", u"",
     u"Watch short videos that show how to use each program in the collection. Opens in your web browser."},
}};

constexpr std::size_t kWebLinkId = 28;

} // namespace

void SetDefaultOptions(Catalogue& cat) {
    cat.showall = kTrue;
}

void SetDefaultPaths(Catalogue& cat) {
    for (std::size_t id = 0; id < kDefaultPrograms.size(); ++id) {
        const auto& program = kDefaultPrograms[id];
        // The web address is opened as it is; the programs live on the launcher's own drive.
        cat.progList[id].path = id == kWebLinkId ? Text(program.path) : cat.appDrive + Text(program.path);
    }
}

void SetDefaultNames(Catalogue& cat) {
    for (std::size_t id = 0; id < kDefaultPrograms.size(); ++id) {
        cat.progList[id].name = Text(kDefaultPrograms[id].name);
    }
}

void SetDefaultPictures(Catalogue& cat, const platform::FileSystem& files) {
    for (std::size_t id = 0; id < kDefaultPrograms.size(); ++id) {
        cat.progList[id].picpath = DataFilePath(files, kDefaultPrograms[id].bitmap);
    }
}

void SetDefaultDescriptions(Catalogue& cat) {
    for (std::size_t id = 0; id < kDefaultPrograms.size(); ++id) {
        cat.progList[id].desc = Text(kDefaultPrograms[id].desc);
    }
}

void SetDefaultVideoPaths(Catalogue& cat) {
    for (std::size_t id = 0; id < kDefaultPrograms.size(); ++id) {
        const auto& program = kDefaultPrograms[id];
        cat.progList[id].videopath = program.videoPath.empty() ? Text() : cat.appDrive + Text(program.videoPath);
    }
}

void SetDefaultOrder(Catalogue& cat) {
    // The order the suite ships with, the help videos first.
    ParseOrder(u"<order p0='28' p1='5' p2='11' p3='10' p4='17' p5='22' p6='25' p7='14' p8='4' p9='0' p10='1' "
               u"p11='2' p12='3' p13='13' p14='26' p15='23' p16='16' p17='19' p18='8' p19='27' p20='18' p21='9' "
               u"p22='12' p23='7' p24='6' p25='20' p26='21' p27='24' p28='15' />",
               cat);
}

void SetDefaultShow(Catalogue& cat) {
    for (std::size_t id = 0; id < kDefaultPrograms.size(); ++id) {
        cat.progList[id].show = kTrue;
    }
}

} // namespace catalogue
