// Resource ids of the window toolkit.
#pragma once
