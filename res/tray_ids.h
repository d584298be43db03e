// Resource ids of the tray part.
#pragma once
