// Resource ids of the settings part.
#pragma once
