#pragma once

// `quillaby-cli render`: writes the drawdown (or the whole draft) as a picture.
// args are the words after "render".
int RunRenderCommand(int argc, char** argv);
