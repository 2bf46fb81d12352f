#pragma once

// `quillaby-cli thumbnail FILE OUT SIZE`: the little picture file managers
// show for a draft. args are the words after "thumbnail".
int RunThumbnailCommand(int argc, char** argv);
