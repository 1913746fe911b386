// A first sync of a full contact file (9,999 contacts) with an empty address
// book of a real Radicale on 127.0.0.1, then a sync after one change; the
// number of requests of each is reported beside the time.
#include "../tests/sync/radicale_server.h"
#include "../tests/sync/sync_fixture.h"
#include "sync/dav_client.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace tarvik;
using namespace tarvik::sync;
using namespace tarvik::testing;

namespace {

constexpr int Contacts = 9999;

RadicaleServer* server()
{
    static RadicaleServer* s = [] {
        auto* r = new RadicaleServer;
        if (!r->start()) {
            std::fprintf(stderr, "%s\n", qPrintable(r->error()));
            std::exit(1);
        }
        return r;
    }();
    return s;
}

BlockList fullFile()
{
    QList<ContactRecord> records;
    for (int i = 0; i < Contacts; ++i) {
        ContactRecord r =
            person(QByteArray::number(10001 + i), "Entreprise " + QByteArray::number(i),
                   "02 99 " + QByteArray::number(100000 + i));
        r.email = "contact" + QByteArray::number(i) + "@exemple.fr";
        records.append(r);
    }
    return fileOf(records);
}

struct Synced
{
    BlockList list;
    int count = Contacts;
    DavState state;
    CodeIds ids;
};

Synced& synced()
{
    static Synced s;
    return s;
}

void firstSync(benchmark::State& st)
{
    static int book = 0;
    for (auto _ : st) {
        st.PauseTiming();
        DavClient client;
        client.setCredentials(QStringLiteral("alice"), QStringLiteral("secret"));
        Synced& s = synced();
        s = Synced{};
        s.list = fullFile();
        s.state.addressBook = server()->url(QStringLiteral("/alice/bench%1/").arg(++book));
        client.makeAddressBook(s.state.addressBook, QStringLiteral("Bench"));
        const int before = client.requestCount();
        st.ResumeTiming();
        ContactSync sync(client, s.ids);
        const SyncReport r = sync.run(s.list, s.count, s.state);
        st.counters["requests"] = client.requestCount() - before;
        st.counters["sent"] = r.sent;
    }
}

void incrementalSync(benchmark::State& st)
{
    Synced& s = synced();
    int round = 0;
    for (auto _ : st) {
        st.PauseTiming();
        ContactRecord r = recordAt(s.list, 5000);
        r.phone = "02 00 00 " + QByteArray::number(++round);
        blocks::replaceBlock(s.list, contact::blockLines(r, 5000));
        DavClient client;
        client.setCredentials(QStringLiteral("alice"), QStringLiteral("secret"));
        st.ResumeTiming();
        ContactSync sync(client, s.ids);
        const SyncReport report = sync.run(s.list, s.count, s.state);
        st.counters["requests"] = client.requestCount();
        st.counters["sent"] = report.sent;
    }
}

void unchangedSync(benchmark::State& st)
{
    Synced& s = synced();
    for (auto _ : st) {
        DavClient client;
        client.setCredentials(QStringLiteral("alice"), QStringLiteral("secret"));
        ContactSync sync(client, s.ids);
        sync.run(s.list, s.count, s.state);
        st.counters["requests"] = client.requestCount();
    }
}

} // namespace

BENCHMARK(firstSync)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(incrementalSync)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(unchangedSync)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
