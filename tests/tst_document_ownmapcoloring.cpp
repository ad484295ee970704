#include "document/LevelText.h"
#include "document/MapModule.h"
#include "document/OwnMapColoring.h"
#include "document/OwnerTable.h"
#include "support/ColorOwnMapTextLiteral.h"

#include <QtTest>

#include <climits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

// A rich text box that records the colour of every character and what was
// done to the progress bar ("max N", "show", "add N" with consecutive
// additions summed, "hide").
class FakeRichText : public RichTextPort {
public:
    explicit FakeRichText(std::u16string text) : text_(std::move(text)), colors_(text_.size()) {}

    std::u16string Text() const override { return text_; }
    int Length() const override { return static_cast<int>(text_.size()); }
    int Find(const std::u16string& token, int start) override
    {
        ++finds;
        const auto found = text_.find(token, static_cast<std::size_t>(start));
        return found == std::u16string::npos ? -1 : static_cast<int>(found);
    }
    void Select(int start, int length) override
    {
        selStart_ = start;
        selLength_ = length;
    }
    void SetSelectionColor(ColorWord color) override
    {
        ++colorChanges;
        for (int c = selStart_; c < selStart_ + selLength_ && c < Length(); ++c)
            colors_[static_cast<std::size_t>(c)] = color.value;
    }
    void SetProgressMaximum(int maximum) override { progress.push_back("max " + std::to_string(maximum)); }
    void AddProgress(int amount) override
    {
        progressValue += amount;
        if (!progress.empty() && progress.back().rfind("add ", 0) == 0)
            progress.back() = "add " + std::to_string(std::stoll(progress.back().substr(4)) + amount);
        else
            progress.push_back("add " + std::to_string(amount));
    }
    void ShowProgress() override { progress.emplace_back("show"); }
    void HideProgress() override { progress.emplace_back("hide"); }

    // The owner whose text colour a character carries, -1 for none.
    int OwnerColorAt(int c) const
    {
        const auto& color = colors_[static_cast<std::size_t>(c)];
        if (!color)
            return -1;
        for (int owner = 0; owner < OwnerCount; ++owner)
            if (OwnerTable[owner].textColor.value == *color)
                return owner;
        return -2;
    }
    const std::vector<std::optional<std::uint32_t>>& Colors() const { return colors_; }

    std::vector<std::string> progress;
    long long progressValue = 0;
    int finds = 0;
    int colorChanges = 0;

private:
    std::u16string text_;
    std::vector<std::optional<std::uint32_t>> colors_;
    int selStart_ = 0;
    int selLength_ = 0;
};

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// The own_map text of a width x height map filled by ownerOf(sector).
template <typename OwnerOf>
std::u16string OwnMapText(int width, int height, OwnerOf ownerOf)
{
    MapModule::ResetDocument();
    MapModule::MapWidth = width;
    MapModule::MapHeight = height;
    for (int s = 0; s < width * height; ++s)
        MapModule::OwnerGrid.Set(s, ownerOf(s));
    return Widen(MapModule::BuildOwnMapText());
}

std::u16string RandomMapText(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> owner(0, OwnerCount - 1);
    return OwnMapText(width, height, [&](int) { return owner(random); });
}

void CompareLiteralAndFast(const std::u16string& text)
{
    FakeRichText literal(text);
    FakeRichText fast(text);
    ColorOwnMapTextLiteral(literal);
    ColorOwnMapTextFast(fast);
    QCOMPARE(fast.Colors(), literal.Colors());
    QCOMPARE(fast.progress, literal.progress);
    QCOMPARE(fast.progressValue, literal.progressValue);
    QCOMPARE(fast.finds, 0);
}

}  // namespace

class TestOwnMapColoring : public QObject {
    Q_OBJECT
private slots:
    void textsColourLikeLiteral_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("owners");  // per character: owner digit or '.'
        QTest::addColumn<qlonglong>("progressTotal");
        QTest::newRow("empty text") << QString() << QString() << 0LL;
        QTest::newRow("token at position 0 stays plain") << "00 01 02" << "...11.22" << 9LL;
        QTest::newRow("only a token at position 0") << "03" << ".." << 0LL;
        QTest::newRow("000 overlaps itself") << "x000 " << ".000." << 2LL;
        QTest::newRow("001: later pass wins") << " 0013" << ".011." << 3LL;
        QTest::newRow("0 0 is no token") << " 0 0\r\n0" << "......." << 0LL;
        QTest::newRow("line break between digits") << " 0\n0 05" << ".....55" << 5LL;
        QTest::newRow("07, 10 and 70 are no tokens") << " 07 10 70 " << ".........." << 0LL;
        QTest::newRow("owners 3 and 6") << "x03 06 " << ".33.66." << 5LL;
    }
    void textsColourLikeLiteral()
    {
        QFETCH(QString, text);
        QFETCH(QString, owners);
        QFETCH(qlonglong, progressTotal);
        CompareLiteralAndFast(text.toStdU16String());

        FakeRichText fast(text.toStdU16String());
        ColorOwnMapTextFast(fast);
        QString fastOwners;
        for (int c = 0; c < text.size(); ++c)
            fastOwners += fast.OwnerColorAt(c) < 0 ? QChar('.') : QChar('0' + fast.OwnerColorAt(c));
        QCOMPARE(fastOwners, owners);
        std::vector<std::string> progress{"max " + std::to_string(7 * text.size()), "show"};
        if (progressTotal > 0)
            progress.push_back("add " + std::to_string(progressTotal));
        progress.emplace_back("hide");
        QCOMPARE(fast.progress, progress);
    }

    void mapsColourLikeLiteral_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("fill");  // -1 random owners, else that owner everywhere
        QTest::addColumn<bool>("hasOwner3");
        QTest::newRow("10x10 random") << 10 << 10 << -1 << true;
        QTest::newRow("50x50 random") << 50 << 50 << -1 << true;
        QTest::newRow("50x50 all owner 0") << 50 << 50 << 0 << false;
        QTest::newRow("23x41 all owner 3") << 23 << 41 << 3 << true;
        QTest::newRow("10x10 no owner 3") << 10 << 10 << -3 << false;
    }
    void mapsColourLikeLiteral()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, fill);
        QFETCH(bool, hasOwner3);
        std::mt19937 random(77);
        std::uniform_int_distribution<int> pick(0, OwnerCount - 1);
        const std::u16string text = OwnMapText(width, height, [&](int) {
            if (fill == -3) {
                const int owner = pick(random);
                return owner == 3 ? 4 : owner;
            }
            return fill < 0 ? pick(random) : fill;
        });
        CompareLiteralAndFast(text);

        FakeRichText fast(text);
        ColorOwnMapTextFast(fast);
        int tokens = 0;
        bool owner3Coloured = false;
        for (int c = 0; c < fast.Length(); ++c) {
            const int owner = fast.OwnerColorAt(c);
            QVERIFY2(owner == -1 || (text[c] == u'0' || text[c] == u'0' + owner), "colour on a wrong character");
            if (owner >= 0 && c + 1 < fast.Length() && text[c] == u'0' && text[c + 1] == u'0' + owner)
                ++tokens;
            owner3Coloured = owner3Coloured || owner == 3;
        }
        QCOMPARE(tokens, width * height);
        QCOMPARE(owner3Coloured, hasOwner3);
        QVERIFY(fast.colorChanges <= width * height);
        for (std::size_t c = 0; c < text.size() && text[c] != u'\n'; ++c)
            QCOMPARE(fast.OwnerColorAt(static_cast<int>(c)), -1);  // header line stays plain
    }

    void randomTextsColourLikeLiteral_data()
    {
        QTest::addColumn<QString>("alphabet");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("zeros and digits") << QString("0000123456789") << 40;
        QTest::newRow("digits, spaces and breaks") << QString("0001234567 \r\n") << 120;
        QTest::newRow("few tokens in noise") << QString("0abcdefgh 7") << 300;
    }
    void randomTextsColourLikeLiteral()
    {
        QFETCH(QString, alphabet);
        QFETCH(int, maxLength);
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> letter(0, static_cast<int>(alphabet.size()) - 1);
        std::uniform_int_distribution<int> length(0, maxLength);
        for (int run = 0; run < 400; ++run) {
            std::u16string text;
            for (int n = length(random); n > 0; --n)
                text += alphabet[letter(random)].unicode();
            CompareLiteralAndFast(text);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable("differs on: " + QString::fromStdU16String(text)));
        }
        for (unsigned seed = 0; seed < 20; ++seed)
            CompareLiteralAndFast(RandomMapText(10 + static_cast<int>(seed), 10 + static_cast<int>(2 * seed), seed));
    }

    void progressMaximumDoesNotOverflow_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("maximum");
        QTest::newRow("50x50 own map size") << 7618 << 53326;
        QTest::newRow("largest exact") << INT_MAX / 7 << INT_MAX / 7 * 7;
        QTest::newRow("beyond int") << INT_MAX / 7 + 1 << INT_MAX;
        QTest::newRow("negative length") << -5 << 0;
    }
    void progressMaximumDoesNotOverflow()
    {
        QFETCH(int, length);
        QFETCH(int, maximum);
        QCOMPARE(PlanOwnMapColoring(u" 06", length).progressMaximum, maximum);
    }
};

QTEST_GUILESS_MAIN(TestOwnMapColoring)
#include "tst_document_ownmapcoloring.moc"
