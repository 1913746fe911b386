#include "store/integrity.h"

// A first cut: the integrity developer completes the repairs.
namespace integrity {

bool Augmente(BlockList&) { return false; }
bool damaged(const BlockList&, int) { return false; }
int rebuild(BlockList& list, int, int) { return blocks::countHeaders(list); }
bool Verif(BlockList&, int&, Prompter&) { return false; }
bool removeDuplicates(BlockList&, int&, int) { return false; }
void renumber(BlockList&, int, int& recordCount, int)
{
    if (recordCount > 1)
        --recordCount;
}
bool closeGaps(BlockList&, int&, int) { return false; }

} // namespace integrity
