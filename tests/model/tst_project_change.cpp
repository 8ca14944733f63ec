// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>
#include <functional>

#include "model/project_change.h"

using namespace vitrandel;

using Edit = std::function<void(Project&)>;
Q_DECLARE_METATYPE(Edit)

namespace {

Project twoHundred() {
    Project p;
    p.title = "Discos";
    p.categories[0] = "Rock";
    p.categoryCount = 1;
    for (int i = 0; i < 200; ++i)
        p.elements[static_cast<std::size_t>(i)] =
            newElement("e" + std::to_string(i), static_cast<std::int16_t>(i % 2));
    p.elementCount = 200;
    return p;
}

// What a listing file holds of a Project: its settings and the elements in use.
bool sameListing(const Project& a, const Project& b) {
    return settingsOf(a) == settingsOf(b) && a.elementCount == b.elementCount &&
           std::equal(a.elements.begin(), a.elements.begin() + a.elementCount, b.elements.begin());
}

void removeAt(Project& p, int at) {
    std::copy(p.elements.begin() + at + 1, p.elements.begin() + p.elementCount,
              p.elements.begin() + at);
    --p.elementCount;
}

} // namespace

class TestProjectChange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each change undone gives back the listing before it and redone the one
    // after, while keeping no more elements than the ones that moved.
    void undoAndRedo_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("kept"); // elements held, both sides together
        QTest::newRow("nothing") << Edit([](Project&) {}) << 0;
        QTest::newRow("title") << Edit([](Project& p) { p.title += " de casa"; }) << 0;
        QTest::newRow("add at the end") << Edit([](Project& p) {
            p.elements[200] = newElement("nuevo", 1);
            ++p.elementCount;
        }) << 1;
        QTest::newRow("delete the first") << Edit([](Project& p) { removeAt(p, 0); }) << 1;
        QTest::newRow("delete the last") << Edit([](Project& p) { removeAt(p, 199); }) << 1;
        QTest::newRow("delete one of two equal neighbours") << Edit([](Project& p) {
            p.elements[51] = p.elements[50];
            removeAt(p, 50);
        }) << 1;
        QTest::newRow("description")
            << Edit([](Project& p) { p.elements[7].description = "otra"; }) << 2;
        QTest::newRow("categories renumbered") << Edit([](Project& p) {
            p.categories[0] = "Jazz";
            p.categories[1] = "Rock";
            p.categoryCount = 2;
            for (int i = 0; i < p.elementCount; ++i)
                if (p.elements[static_cast<std::size_t>(i)].category == 1)
                    p.elements[static_cast<std::size_t>(i)].category = 2;
        }) << 2 * 199;
        QTest::newRow("emptied") << Edit([](Project& p) { p.elementCount = 0; }) << 200;
    }
    void undoAndRedo() {
        QFETCH(Edit, edit);
        QFETCH(int, kept);
        const Project before = twoHundred();
        Project after = before;
        edit(after);
        const ProjectChange change = diffProjects(before, after);
        QCOMPARE(int(change.before.run.size() + change.after.run.size()), kept);
        QCOMPARE(change.empty(), sameListing(before, after));

        Project p = after;
        undoChange(p, change);
        QVERIFY(sameListing(p, before));
        redoChange(p, change);
        QVERIFY(sameListing(p, after));
    }

    // Keystrokes merge into one change; typed back to where it began, it is none.
    void typingMerges() {
        Project p;
        p.title = "Hola";
        auto typed = [&](const std::string& title) {
            Project next = p;
            next.title = title;
            ProjectChange c = diffProjects(p, next);
            p = next;
            return c;
        };
        ProjectChange first = typed("Holaa");
        QVERIFY(mergeChanges(first, typed("Holaaa")));
        QCOMPARE(first.after.settings->title, std::string("Holaaa"));
        QVERIFY(mergeChanges(first, typed("Hola")));
        QVERIFY(first.empty());

        Project q;
        Project added = q;
        added.elements[0] = newElement("uno", 0);
        added.elementCount = 1;
        ProjectChange title = typed("Otra");
        QVERIFY(!mergeChanges(title, diffProjects(q, added)));
    }
};

QTEST_APPLESS_MAIN(TestProjectChange)
#include "tst_project_change.moc"
